// Placeholder.
#include <gtest/gtest.h>
