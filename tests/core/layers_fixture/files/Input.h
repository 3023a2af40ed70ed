#pragma once
// A file of the lowest folders that reaches up: the layer check must refuse it.
#include "reader/Record.h"
