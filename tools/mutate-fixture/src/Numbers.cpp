#include "Numbers.h"

int Clamp(int v, int lo, int hi) {
  if (v < lo) return lo;
  return v > hi ? hi : v;
}

// Decimal digits of a non-negative number.
int Digits(int n) {
  int digits = 1;
  while (n >= 10) {
    n /= 10;
    ++digits;
  }
  return digits;
}

std::string Greeting(const std::string& name) { return "hello " + name; }
