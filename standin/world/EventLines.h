#pragma once
// Event lines of a scenario, "<frame> <verb> ...": each verb has its parser in a table, and each parser
// makes the event's own kind with its own fields.
#include <string>

#include "world/Scenario.h"
#include "world/ScenarioWords.h"

// What the line asks for; w are its words, w[0] the frame and w[1] the verb. Throws LineError.
EventAction ParseEvent(const std::string& line, const Words& w);
