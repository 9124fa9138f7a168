// ZO_API marks the library's public API. A shared build compiles everything else with hidden
// visibility, so only what carries the mark is exported; in a static build it changes nothing.
#pragma once

#define ZO_API __attribute__((visibility("default")))
