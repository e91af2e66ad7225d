#pragma once
// The report's first lines: the scenario, its frames and the working folder it starts from.
#include <string>

#include "world/Scenario.h"

// asIs: the run takes the working folder as it was found, not as the scenario lays it out.
std::string ReportHeader(const Scenario& scenario, bool asIs);
