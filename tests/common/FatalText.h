#pragma once
// The failure path's message for an exception's description, and the natives that show it on screen.
// The screen text is the host's value for the message, which the game makes once (testkit/Game.h): the
// one it made, or, asked before the step that makes it, the next.
#include <cstdio>
#include <string>
#include <vector>

#include "testkit/Game.h"

inline std::string Fatal(const std::string& what) { return "Fatal: " + what + ", check the logs for more info."; }

inline std::vector<std::string> ShownOnScreen(const std::string& message) {
  char value[40];
  std::snprintf(value, sizeof value, "SetScreenText(0x%llX)",
                static_cast<unsigned long long>(TextValue(message.c_str())));
  return {"CreateLiteralText(0xA, 'LITERAL_STRING', '" + message + "')", value, "PlaceScreenText()",
          "DrawScreenText()"};
}
