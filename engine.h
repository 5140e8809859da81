// The engine's whole public API: include this and link the engine library.
#pragma once

#include "draw/draw.h"
#include "files/files.h"
#include "menu/menu.h"
#include "platform/platform.h"
#include "sound/sound.h"
#include "startup/startup.h"
#include "texture/texture.h"
