#pragma once
#include "gui/editor/Tool.h"
#include "Window.h"
#include "ui_Window.h"
