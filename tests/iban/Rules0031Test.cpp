#include <gtest/gtest.h>

#include "support/RuleTestDirectory.h"

// The tests of this group of rules arrive with its rules.
