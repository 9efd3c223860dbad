#include <stdexcept>
#include <type_traits>

#include <gtest/gtest.h>

#include "utils/Singleton.h"

namespace {

static_assert(!std::is_default_constructible<Singleton<int>>::value, "no Singleton objects");
static_assert(!std::is_copy_constructible<Singleton<int>>::value, "no Singleton objects");

struct Counted {
  static int built;
  Counted() { ++built; }
  int value = 0;
};
int Counted::built = 0;

TEST(Singleton, OneInstanceBuiltOnFirstUse) {
  EXPECT_EQ(Counted::built, 0);
  Counted& a = Singleton<Counted>::getInstance();
  Counted& b = Singleton<Counted>::getInstance();
  EXPECT_EQ(&a, &b);
  EXPECT_EQ(Counted::built, 1);
  a.value = 7;
  EXPECT_EQ(Singleton<Counted>::getInstance().value, 7);
}

struct Inner {
  static int order;
  int builtAt;
  Inner() : builtAt(++order) {}
};
int Inner::order = 0;

struct Outer {
  Inner* inner;
  int builtAt;
  Outer() : inner(&Singleton<Inner>::getInstance()), builtAt(++Inner::order) {}
};

TEST(Singleton, ServicesMayUseOtherServicesWhileBuilt) {
  Outer& o = Singleton<Outer>::getInstance();
  EXPECT_EQ(o.inner, &Singleton<Inner>::getInstance());
  EXPECT_LT(o.inner->builtAt, o.builtAt);
}

struct Flaky {
  static int attempts;
  Flaky() {
    if (++attempts == 1) throw std::runtime_error("not yet");
  }
};
int Flaky::attempts = 0;

TEST(Singleton, FailedConstructionIsRetried) {
  EXPECT_THROW(Singleton<Flaky>::getInstance(), std::runtime_error);
  Flaky& f = Singleton<Flaky>::getInstance();
  EXPECT_EQ(Flaky::attempts, 2);
  EXPECT_EQ(&f, &Singleton<Flaky>::getInstance());
  EXPECT_EQ(Flaky::attempts, 2);
}

}  // namespace
