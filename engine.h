// The engine's whole public API: include this and link the engine library.
#pragma once

#include "files/files.h"
#include "platform/platform.h"
#include "texture/texture.h"
