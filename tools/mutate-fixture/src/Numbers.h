#pragma once
#include <string>

int Clamp(int v, int lo, int hi);
int Next(int v, int lo);
bool Within(int v, int lo, int hi);
int Digits(int n);
std::string Greeting(const std::string& name);
