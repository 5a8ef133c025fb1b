#pragma once
#include <QString>
#include "model/Fine.h"
