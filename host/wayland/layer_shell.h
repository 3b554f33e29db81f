// The wlr-layer-shell client code for C++: its generated header names a request's argument
// "namespace", a C++ keyword, which is renamed while it is read. What it includes comes first.
#pragma once

#include <wayland-client.h>

#include "xdg-shell.h"

#define namespace layerNamespace
#include "wlr-layer-shell-unstable-v1.h"
#undef namespace
