#ifndef OPTIMIZATION_READER_H
#define OPTIMIZATION_READER_H

#include <string>

#include "optimization/ExchangeData.h"

class CPGBehavior;
class SlotBehavior;
class StepBehavior;

// Converts behaviour files to solution matrices for an optimiser and back:
// reads motion files into matrices, carries matrices as text or as a binary
// exchange message, and writes them as motion files.
//
// A solution is a double** of dim1 rows of dim2 values, the row list and every
// row allocated with malloc; whoever receives one owns it. EmptyCell marks a
// cell that holds nothing. Layouts by behaviour type:
//   slot types:  one row per slot; column 0 the delta, column j + 1 the angle
//                of joint j (at most 23 columns)
//   CPGBehavior: 23 rows of 4; row 0 column 0 the delta, row j + 1 the
//                amplitude, period, phase and offset of joint j's sine
//   StepBehavior: one row per step of at most 49 columns; wait, cType, power,
//                addPower, trh, then angle and maximum speed of each joint
// Input that breaks a layout or announces more than it holds is rejected
// with one line on the standard error stream.
class Reader {
 public:
  static constexpr double EmptyCell = 424242;
  static const int JointCount = 22;
  static const int SlotColumns = 1 + JointCount;
  static const int CPGRows = 1 + JointCount;
  static const int CPGColumns = 4;
  static const int StepColumns = 5 + 2 * JointCount;

  // Reads a motion file of the given type ("SlotBehavior",
  // "ExpediteSlotBehavior", "CPGBehavior" or "StepBehavior") into a new
  // matrix. Null with zero dimensions for any other type or a rejected file.
  double** reader(const std::string& filename, const std::string& type, int* dim1, int* dim2);

  // Rows of values rounded to 5 decimals, each followed by a blank.
  std::string convert(double** sol, int dim1, int dim2);
  // Reads a first line "dim1 dim2", then dim1 lines of dim2 values separated
  // by single blanks (an empty value reads 0). Null when rejected.
  double** convert(const std::string& text, int* dim1, int* dim2);

  // Binary exchange message: width, height (4 bytes each), width x height
  // doubles row by row, then the 32 bytes of specs, in host byte order.
  std::string convertBehaviorToString(const ExchangeData* data);
  // A new ExchangeData from a message exactly as long as its header says;
  // null when rejected.
  ExchangeData* convert(const std::string& messageData);

  // New behaviours built from a matrix (the caller owns them); null when the
  // matrix does not fit the layout.
  SlotBehavior* createSlotBehavior(double** sol, int dim1, int dim2, bool expedite);
  CPGBehavior* createCPGBehavior(double** sol, int dim1, int dim2);
  StepBehavior* createStepBehavior(double** sol, int dim1, int dim2);

  double** copySolution(double** init, int dim1, int dim2);
  // The name itself when no such file exists, else the first free of
  // "name 1", "name 2", ...
  std::string getNonExistingFilename(const std::string& filename);

  // Motion files that the motion-file reader reads back to the same matrix.
  // False when the matrix is rejected or the file cannot be written.
  bool writeSlotXML(const std::string& filename, double** sol, int dim1, int dim2, bool expedite,
                    const std::string& behaviorName);
  bool writeCPGXML(const std::string& filename, double** sol, int dim1, int dim2,
                   const std::string& behaviorName);
  bool writeStepXML(const std::string& filename, double** sol, int dim1, int dim2,
                    const std::string& behaviorName);

  // The angle of largest magnitude of a slot solution; 0 for other types.
  double solutionMaxAngle(double** solution, int width, int height, TypeOfBehavior bType);

 private:
  double** readCPG(const std::string& filename, int* dim1, int* dim2);
  // Whether the matrix fits the layout of the type; one line when not.
  static bool fits(double** sol, int dim1, int dim2, TypeOfBehavior type);
};

// Blanks and newline characters in a C string.
int countSpaces(const char* text);
int countNLs(const char* text);
// True when the file can be opened for reading.
bool fileAlreadyExists(const std::string& filename);

#endif
