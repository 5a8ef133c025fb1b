#pragma once
// editor and preview are siblings
#include "gui/preview/Page.h"
#include "gui/common/Helper.h"
#include <QWidget>
