#pragma once
#include <cstdint>
#include <map>

// Weapon hash to the scope last taken off it.
extern std::map<std::int32_t, std::uint32_t> ScopeMemory;

// One frame of the scope toggle: show the prompt beside a calm horse with an admitted weapon, and on a
// completion take the scope off (remembering it) or put the remembered one back.
void ScopeToggle();
