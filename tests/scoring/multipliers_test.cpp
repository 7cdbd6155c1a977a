#include <gtest/gtest.h>

#include "scoring/multipliers.h"
#include "support/scoring_fixture.h"

using testing_support::TestProgram;

