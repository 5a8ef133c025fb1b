#pragma once
#include "gui/editor/Tool.h"
#include "gui/editor/internal/Secret.h"
#include "Window.h"
#include "ui_Window.h"
