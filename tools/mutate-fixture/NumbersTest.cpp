// Checks the values away from the bounds only, so that a mutant of a bound survives.
#include <cstdio>

#include "Numbers.h"

int main() {
  int failures = 0;
  const auto expect = [&](bool ok, const char* what) {
    if (!ok) std::printf("failed: %s\n", what), ++failures;
  };
  expect(Clamp(-5, 0, 10) == 0, "below");
  expect(Clamp(5, 0, 10) == 5, "inside");
  expect(Clamp(15, 0, 10) == 10, "above");
  expect(Digits(7) == 1, "one digit");
  expect(Digits(4321) == 4, "four digits");
  expect(Greeting("you") == "hello you", "greeting");
  return failures == 0 ? 0 : 1;
}
