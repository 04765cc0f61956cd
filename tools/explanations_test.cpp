#include "tools/explanations.h"

#include <gtest/gtest.h>
