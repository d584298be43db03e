// Two subsystems that picked the same numbers.
#pragma once
#include "first_ids.h"
#include "second_ids.h"
