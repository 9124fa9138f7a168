// ZoBtnBar: the public API in one header. A program includes this and links zobtnbar.
#pragma once

#include "core/Enums.h"
#include "core/Error.h"
#include "core/Object.h"
#include "core/Picture.h"
#include "core/Variant.h"
#include "model/CButton.h"
#include "model/CButtons.h"
#include "model/CGroup.h"
#include "model/CGroups.h"
#include "model/Listeners.h"
// The control, its events and dispatch table, and the host it needs.
#include "control/Dispatch.h"
#include "control/Events.h"
#include "control/ZoButtonBar.h"
#include "host/DesignFile.h"
#include "host/PropertyBag.h"
#include "host/Site.h"
#include "host/StdFont.h"
#include "persist/DesignLoad.h"
// The stand-in platform a program runs the control on: the display, the message loop,
// drawing and pictures.
#include "platform/Display.h"
#include "platform/Gdi.h"
#include "platform/Image.h"
#include "platform/Text.h"
#include "platform/Window.h"
