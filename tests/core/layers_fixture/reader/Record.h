#pragma once
#include "files/Input.h"
