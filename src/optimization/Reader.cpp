#include "optimization/Reader.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

#include <libxml/parser.h>

#include "utils/XMLNode.h"
#include "utils/util.h"

namespace {

const char* const kPrefix = "Optimize Reader: ";

enum class Layout { Any, Slot, CPG, Step };

void reject(const std::string& why) { std::cerr << kPrefix << why << std::endl; }

double round5(double v) { return std::round(v * 100000) / 100000; }

double** allocate(int dim1, int dim2, double fill) {
  double** m = static_cast<double**>(std::malloc(sizeof(double*) * static_cast<size_t>(dim1)));
  for (int r = 0; r < dim1; ++r) {
    m[r] = static_cast<double*>(std::malloc(sizeof(double) * static_cast<size_t>(dim2)));
    for (int c = 0; c < dim2; ++c) m[r][c] = fill;
  }
  return m;
}

void release(double** m, int dim1) {
  if (!m) return;
  for (int r = 0; r < dim1; ++r) std::free(m[r]);
  std::free(m);
}

// Whether the matrix fits the layout and holds finite values only; when not,
// one line says why.
bool acceptable(double** sol, int dim1, int dim2, Layout layout) {
  std::ostringstream why;
  if (!sol || dim1 < 1 || dim2 < 1) {
    why << "a solution of " << dim1 << " x " << dim2 << " holds nothing";
  } else if (layout == Layout::Slot && dim2 > Reader::SlotColumns) {
    why << "a slot solution has 1 to " << Reader::SlotColumns << " columns, not " << dim2;
  } else if (layout == Layout::CPG && (dim1 > Reader::CPGRows || dim2 != Reader::CPGColumns)) {
    why << "a CPG solution has 1 to " << Reader::CPGRows << " rows of " << Reader::CPGColumns << ", not "
        << dim1 << " x " << dim2;
  } else if (layout == Layout::Step && (dim2 < 5 || dim2 > Reader::StepColumns || dim2 % 2 == 0)) {
    why << "a step solution has an odd number of columns from 5 to " << Reader::StepColumns << ", not "
        << dim2;
  } else {
    for (int r = 0; r < dim1; ++r) {
      if (!sol[r]) {
        why << "row " << r << " of the solution is missing";
        break;
      }
      for (int c = 0; c < dim2; ++c) {
        if (!std::isfinite(sol[r][c])) {
          why << "the solution holds " << sol[r][c] << " at row " << r << ", column " << c;
          break;
        }
      }
      if (why.tellp() > 0) break;
    }
  }
  if (why.tellp() == 0) return true;
  reject(why.str());
  return false;
}

// Attribute text with the characters XML reserves escaped.
std::string xmlText(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string header(const std::string& name, const char* type) {
  return std::string("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n\n\n<behavior name=\"") + xmlText(name) +
         "\" type=\"" + type + "\" >\n";
}

bool writeFile(const std::string& filename, const std::string& text) {
  std::ofstream out(filename, std::ios::out | std::ios::trunc);
  if (out) out << text;
  if (out) return true;
  reject("cannot write " + filename);
  return false;
}

// Reads "patterns" text into the rows of a CPG matrix: entries of a joint id,
// ':', and one sine's amplitude, period, phase and offset ended by ';'.
bool readPatterns(const std::string& text, double** m, std::string& error) {
  std::istringstream in(text);
  for (;;) {
    in >> std::ws;
    if (in.eof()) return true;
    int id = 0;
    char colon = 0;
    if (!(in >> id)) {
      error = "a joint id is not a number";
      return false;
    }
    if (!(in >> colon) || colon != ':') return true;  // reading stops here
    if (id < 0 || id >= Reader::JointCount) {
      error = "joint id " + std::to_string(id) + " is not 0 to " + std::to_string(Reader::JointCount - 1);
      return false;
    }
    double v[4];
    char sep = 0;
    if (!(in >> v[0] >> v[1] >> v[2] >> v[3])) {
      error = "a value of joint " + std::to_string(id) + " is not a number";
      return false;
    }
    if (!(in >> sep)) {
      error = "the pattern of joint " + std::to_string(id) + " does not end with ';'";
      return false;
    }
    if (sep != ';') {
      error = "joint " + std::to_string(id) + " has more than one sine; a solution row holds one";
      return false;
    }
    for (int k = 0; k < 4; ++k) m[id + 1][k] = v[k];
  }
}

// One field of a text row: empty reads 0; otherwise the whole field must be
// a finite number.
bool readField(const std::string& field, double& out) {
  if (field.empty()) {
    out = 0;
    return true;
  }
  return parseFinite(field, out);
}

bool nextLine(const std::string& text, size_t& pos, std::string& line) {
  if (pos >= text.size()) return false;
  size_t eol = text.find('\n', pos);
  if (eol == std::string::npos) eol = text.size();
  line = text.substr(pos, eol - pos);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  pos = eol + 1;
  return true;
}

const size_t kSpecsSize = sizeof(ExperimentSpecs);

}  // namespace

bool Reader::fits(double** sol, int dim1, int dim2, TypeOfBehavior type) {
  const Layout layout = type == STEP_BEHAVIOR  ? Layout::Step
                        : type == CPG_BEHAVIOR ? Layout::CPG
                        : type == SLOT_BEHAVIOR || type == EXPEDITE_SLOT_BEHAVIOR ? Layout::Slot
                                                                                  : Layout::Any;
  return acceptable(sol, dim1, dim2, layout);
}

double** Reader::readCPG(const std::string& filename, int* dim1, int* dim2) {
  xmlDocPtr doc = xmlReadFile(filename.c_str(), nullptr, XML_PARSE_NOENT | XML_PARSE_NONET);
  if (!doc) {
    std::cerr << "ERROR: Unable to open the file: " << filename << "." << std::endl;
    std::exit(1);
  }
  XMLNode root(xmlDocGetRootElement(doc));
  const std::string type = root.getAttributeValue("type");
  if (type != "CPGBehavior") {
    std::cerr << "Invalid file type " << type << std::endl;
    xmlFreeDoc(doc);
    std::exit(1);
  }

  double** m = allocate(CPGRows, CPGColumns, EmptyCell);
  std::string error;
  for (XMLNode child = root.getChildren(); child && error.empty(); child = child.getNext()) {
    if (child.node->type != XML_ELEMENT_NODE) continue;
    if (child.getName() == "delta") {
      m[0][0] = std::atof(child.getContent().c_str());
    } else if (child.getName() == "patterns") {
      readPatterns(child.getContent(), m, error);
    }
  }
  xmlFreeDoc(doc);
  if (!error.empty() || !std::isfinite(m[0][0])) {
    reject(filename + ": " + (error.empty() ? std::string("the delta is not a finite number") : error));
    release(m, CPGRows);
    return nullptr;
  }
  *dim1 = CPGRows;
  *dim2 = CPGColumns;
  return m;
}

std::string Reader::convert(double** sol, int dim1, int dim2) {
  if (!acceptable(sol, dim1, dim2, Layout::Any)) return std::string();
  std::ostringstream out;
  for (int r = 0; r < dim1; ++r) {
    for (int c = 0; c < dim2; ++c) out << round5(sol[r][c]) << " ";
    out << "\n";
  }
  return out.str();
}

double** Reader::convert(const std::string& text, int* dim1, int* dim2) {
  *dim1 = 0;
  *dim2 = 0;
  size_t pos = 0;
  std::string line;
  long rows = 0, cols = 0;
  {
    nextLine(text, pos, line);
    std::istringstream first(line);
    std::string rest;
    if (!(first >> rows >> cols) || (first >> rest) || rows < 1 || cols < 1 || rows > 1000000 || cols > 1000000) {
      reject("the first line \"" + line.substr(0, 40) + "\" does not give two dimensions");
      return nullptr;
    }
  }
  std::cout << kPrefix << "dim1=" << rows << ", dim2=" << cols << std::endl;

  // Everything is read before anything is allocated: a short text cannot
  // make a large matrix.
  std::vector<double> values;
  for (long r = 0; r < rows; ++r) {
    if (!nextLine(text, pos, line)) {
      reject("the text holds " + std::to_string(r) + " rows, its first line announces " + std::to_string(rows));
      return nullptr;
    }
    size_t start = 0;
    for (long c = 0; c < cols; ++c) {
      size_t blank = line.find(' ', start);
      const bool last = blank == std::string::npos;
      if (last && c + 1 < cols) {
        reject("row " + std::to_string(r) + " holds " + std::to_string(c + 1) + " values, the first line announces " +
               std::to_string(cols));
        return nullptr;
      }
      double v = 0;
      if (!readField(line.substr(start, last ? std::string::npos : blank - start), v)) {
        reject("value " + std::to_string(c) + " of row " + std::to_string(r) + " is not a finite number");
        return nullptr;
      }
      values.push_back(v);
      start = last ? line.size() : blank + 1;
    }
    if (line.find_first_not_of(' ', start) != std::string::npos) {
      reject("row " + std::to_string(r) + " holds more than the " + std::to_string(cols) + " values announced");
      return nullptr;
    }
  }

  double** m = allocate(static_cast<int>(rows), static_cast<int>(cols), 0);
  for (long r = 0; r < rows; ++r)
    for (long c = 0; c < cols; ++c) m[r][c] = values[static_cast<size_t>(r * cols + c)];
  *dim1 = static_cast<int>(rows);
  *dim2 = static_cast<int>(cols);
  return m;
}

std::string Reader::convertBehaviorToString(const ExchangeData* data) {
  if (!data || data->width > INT32_MAX || data->height > INT32_MAX ||
      !acceptable(data->sol, static_cast<int>(data->width), static_cast<int>(data->height), Layout::Any)) {
    if (!data) reject("no exchange data");
    return std::string();
  }
  std::string out;
  out.append(reinterpret_cast<const char*>(&data->width), 4);
  out.append(reinterpret_cast<const char*>(&data->height), 4);
  for (uint32_t r = 0; r < data->width; ++r) {
    for (uint32_t c = 0; c < data->height; ++c) {
      const double v = round5(data->sol[r][c]);
      out.append(reinterpret_cast<const char*>(&v), sizeof v);
    }
  }
  // field by field, so that the padding goes out as zeros
  const ExperimentSpecs& s = data->experimentSpecs;
  char specs[kSpecsSize] = {};
  const int32_t type = s.typeOfBehavior;
  std::memcpy(specs + offsetof(ExperimentSpecs, typeOfBehavior), &type, 4);
  specs[offsetof(ExperimentSpecs, useGyroStabilization)] = s.useGyroStabilization ? 1 : 0;
  std::memcpy(specs + offsetof(ExperimentSpecs, waitBefore), &s.waitBefore, 4);
  std::memcpy(specs + offsetof(ExperimentSpecs, waitAfter), &s.waitAfter, 4);
  specs[offsetof(ExperimentSpecs, beamBallFlag)] = s.beamBallFlag ? 1 : 0;
  std::memcpy(specs + offsetof(ExperimentSpecs, beamBall), s.beamBall, sizeof s.beamBall);
  out.append(specs, kSpecsSize);
  std::cerr << "message size" << out.size();
  return out;
}

ExchangeData* Reader::convert(const std::string& messageData) {
  const size_t size = messageData.size();
  uint32_t width = 0, height = 0;
  if (size >= 8) {
    std::memcpy(&width, messageData.data(), 4);
    std::memcpy(&height, messageData.data() + 4, 4);
  }
  // the announced size, computed without overflow
  const uint64_t cells = uint64_t{width} * height;
  const bool fits = size >= 8 + kSpecsSize && cells <= (size - 8 - kSpecsSize) / 8;
  if (!fits || 8 + cells * 8 + kSpecsSize != size || width < 1 || height < 1 || width > INT32_MAX ||
      height > INT32_MAX) {
    std::ostringstream why;
    why << "an exchange message of " << size << " bytes announces " << width << " x " << height << " values";
    reject(why.str());
    return nullptr;
  }

  const char* specs = messageData.data() + 8 + cells * 8;
  int32_t type = 0;
  std::memcpy(&type, specs + offsetof(ExperimentSpecs, typeOfBehavior), 4);
  if (type < 0 || type >= TYPE_OF_BEHAVIOR_COUNT) {
    reject("an exchange message names behaviour type " + std::to_string(type));
    return nullptr;
  }
  std::vector<double> values(static_cast<size_t>(cells));
  std::memcpy(values.data(), messageData.data() + 8, static_cast<size_t>(cells) * 8);
  for (double v : values) {
    if (!std::isfinite(v)) {
      reject("an exchange message holds a value that is not a finite number");
      return nullptr;
    }
  }

  ExchangeData* d = new ExchangeData();
  d->width = width;
  d->height = height;
  d->sol = allocate(static_cast<int>(width), static_cast<int>(height), 0);
  for (uint32_t r = 0; r < width; ++r)
    for (uint32_t c = 0; c < height; ++c) d->sol[r][c] = values[r * height + c];
  ExperimentSpecs& s = d->experimentSpecs;
  s.typeOfBehavior = static_cast<TypeOfBehavior>(type);
  s.useGyroStabilization = specs[offsetof(ExperimentSpecs, useGyroStabilization)] != 0;
  std::memcpy(&s.waitBefore, specs + offsetof(ExperimentSpecs, waitBefore), 4);
  std::memcpy(&s.waitAfter, specs + offsetof(ExperimentSpecs, waitAfter), 4);
  s.beamBallFlag = specs[offsetof(ExperimentSpecs, beamBallFlag)] != 0;
  std::memcpy(s.beamBall, specs + offsetof(ExperimentSpecs, beamBall), sizeof s.beamBall);
  std::cerr << "Optimize experimentSpecs received = " << (s.useGyroStabilization ? 1 : 0)
            << " It should read: " << kSpecsSize << std::endl;
  return d;
}

double** Reader::copySolution(double** init, int dim1, int dim2) {
  if (!init || dim1 < 1 || dim2 < 1) return nullptr;
  double** m = allocate(dim1, dim2, 0);
  for (int r = 0; r < dim1; ++r) std::memcpy(m[r], init[r], sizeof(double) * static_cast<size_t>(dim2));
  return m;
}

std::string Reader::getNonExistingFilename(const std::string& filename) {
  if (!fileAlreadyExists(filename)) return filename;
  for (unsigned long i = 1;; ++i) {
    const std::string candidate = filename + " " + std::to_string(i);
    if (!fileAlreadyExists(candidate)) return candidate;
  }
}

bool Reader::writeSlotXML(const std::string& filename, double** sol, int dim1, int dim2, bool expedite,
                          const std::string& behaviorName) {
  if (!acceptable(sol, dim1, dim2, Layout::Slot)) return false;
  std::ostringstream out;
  out << header(behaviorName, expedite ? "ExpediteSlotBehavior" : "SlotBehavior") << "\n";
  for (int r = 0; r < dim1; ++r) {
    out << "\t<slot name=\"" << r << "\" delta=\"" << round5(sol[r][0]) << "\">\n";
    for (int c = 1; c < dim2; ++c)
      if (sol[r][c] != EmptyCell) out << "\t\t<move id=\"" << c - 1 << "\" angle=\"" << round5(sol[r][c]) << "\" />\n";
    out << "\t</slot>\n";
  }
  out << "\n</behavior>\n";
  return writeFile(filename, out.str());
}

bool Reader::writeCPGXML(const std::string& filename, double** sol, int dim1, int dim2,
                         const std::string& behaviorName) {
  if (!acceptable(sol, dim1, dim2, Layout::CPG)) return false;
  std::ostringstream out;
  out << header(behaviorName, "CPGBehavior") << "\n";
  out << "\t<patterns>\n";
  for (int r = 1; r < dim1; ++r) {
    if (sol[r][0] == EmptyCell) continue;
    out << "\t\t" << r - 1 << ":";
    for (int c = 0; c < dim2; ++c) out << " " << sol[r][c];
    out << ";\n";
  }
  out << "\t</patterns>\n\n";
  if (sol[0][0] != EmptyCell) out << "\t<delta>" << sol[0][0] << "</delta>\n";
  out << "\n</behavior>\n";
  return writeFile(filename, out.str());
}

// A step is a list of entries "joint = angle[:speed]", the wait as joint 22
// first; the controller suffix goes on the step's last entry and ';' ends it,
// which is how the motion-file reader takes a step's parameters.
bool Reader::writeStepXML(const std::string& filename, double** sol, int dim1, int dim2,
                          const std::string& behaviorName) {
  if (!acceptable(sol, dim1, dim2, Layout::Step)) return false;
  std::ostringstream out;
  out << header(behaviorName, "StepBehavior");
  out << "\t<steps>\n\n";
  for (int r = 0; r < dim1; ++r) {
    const double* row = sol[r];
    std::ostringstream entries;
    const char* sep = "";
    // a step needs one entry: without a wait and angles it waits for nothing
    if (row[0] != EmptyCell) {
      entries << "22 = " << row[0];
      sep = ", ";
    }
    for (int j = 0; 6 + 2 * j < dim2; ++j) {
      const double angle = row[5 + 2 * j];
      const double speed = row[6 + 2 * j];
      if (angle == EmptyCell) continue;
      entries << sep << j << " = " << angle;
      if (speed != EmptyCell) entries << ":" << speed;
      sep = ", ";
    }
    if (*sep == '\0') entries << "22 = -1";
    const double cType = row[1];
    if (cType != EmptyCell) {
      entries << "_" << cType << ":" << row[4];
      if (cType != 0) entries << "," << row[2] << "," << row[3];
    }
    out << "\t\t" << entries.str() << ";\n";
    if (r + 1 < dim1) out << "\n";
  }
  out << "\t</steps>\n";
  out << "</behavior>\n";
  return writeFile(filename, out.str());
}

double Reader::solutionMaxAngle(double** solution, int width, int height, TypeOfBehavior bType) {
  if (bType != SLOT_BEHAVIOR && bType != EXPEDITE_SLOT_BEHAVIOR) return 0;
  if (!solution) return 0;
  double best = 0;
  for (int r = 0; r < width; ++r) {
    if (!solution[r]) continue;
    for (int c = 1; c < height; ++c) {
      const double v = solution[r][c];
      if (v != EmptyCell && std::fabs(v) > std::fabs(best)) best = v;
    }
  }
  return best;
}

int countSpaces(const char* text) {
  int n = 0;
  for (const char* p = text; p && *p; ++p) n += *p == ' ';
  return n;
}

int countNLs(const char* text) {
  int n = 0;
  for (const char* p = text; p && *p; ++p) n += *p == '\n';
  return n;
}

bool fileAlreadyExists(const std::string& filename) {
  FILE* f = std::fopen(filename.c_str(), "r");
  if (!f) return false;
  std::fclose(f);
  return true;
}
