// Leaks on purpose: the leak check must catch this, or it checks nothing.
#include <gtest/gtest.h>

#include "toolkit/cpw.h"

TEST(LeakCanary, AContextThatIsNeverFreed) {
  pCpw cpw = nullptr;
  ASSERT_TRUE(cpwInitContext(&cpw));
  EXPECT_EQ(cpwCreateWindow(cpw, "never freed"), 1u);
  cpw = nullptr;
}
