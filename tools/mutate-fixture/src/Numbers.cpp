#include "Numbers.h"

int Clamp(int v, int lo, int hi) {
  if (v < lo) return lo;
  return v > hi ? hi : v;
}

// The number after v, but never one below lo. Its first line reads as Clamp's does, and there moving the
// bound is a fault.
int Next(int v, int lo) {
  if (v < lo) return lo;
  return v + 1;
}

// Two sites of the same change on one line of one function.
bool Within(int v, int lo, int hi) { return lo <= v && v <= hi; }

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
