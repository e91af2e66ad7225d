// Checks the values away from the bounds only, so that a mutant of a bound survives (Next's excepted).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "Numbers.h"

int main() {
  // A machine too loaded to answer in time, once: the file named here holds how many runs go first at
  // their usual pace; the run that finds 0 takes the file away and stalls.
  if (const char* stall = std::getenv("MUTATE_FIXTURE_STALL")) {
    if (std::FILE* f = std::fopen(stall, "r+")) {
      int before = 0;
      const bool read = std::fscanf(f, "%d", &before) == 1;
      std::rewind(f);
      std::fprintf(f, "%d\n", before - 1);
      std::fclose(f);
      if (read && before == 0 && std::remove(stall) == 0) std::this_thread::sleep_for(std::chrono::seconds(12));
    }
  }
  int failures = 0;
  const auto expect = [&](bool ok, const char* what) {
    if (!ok) std::printf("failed: %s\n", what), ++failures;
  };
  expect(Clamp(-5, 0, 10) == 0, "below");
  expect(Clamp(5, 0, 10) == 5, "inside");
  expect(Clamp(15, 0, 10) == 10, "above");
  expect(Next(1, 3) == 3, "next, raised to the bound");
  expect(Next(3, 3) == 4, "next, on the bound");
  expect(Within(5, 0, 10) && !Within(-1, 0, 10) && !Within(11, 0, 10), "within");
  expect(Digits(7) == 1, "one digit");
  expect(Digits(4321) == 4, "four digits");
  expect(Greeting("you") == "hello you", "greeting");
  return failures == 0 ? 0 : 1;
}
