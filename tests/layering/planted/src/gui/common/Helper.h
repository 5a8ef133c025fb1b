#pragma once
// common reaching up into the shell
#include "gui/shell/Window.h"
#include "model/Fine.h"
