// Plain-text tables and CSV of measured runs.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "Trial.h"

namespace fieldtest {

struct Row {
  int type = 0;
  std::string scenario;
  std::string unit;  // of the command
  TrialResult result;
};

// One table per robot type, in the order the rows came.
void printTables(std::ostream& out, const std::vector<Row>& rows);
void writeCsv(std::ostream& out, const std::vector<Row>& rows);

}  // namespace fieldtest
