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
