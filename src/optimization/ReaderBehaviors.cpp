// The converter's side that goes through the motion behaviours: reading
// keyframe and step files with the motion-file reader, and building
// behaviours from matrices.
#include "optimization/Reader.h"

#include <cstdlib>
#include <iostream>
#include <memory>
#include <vector>

#include "math/PatternGenerator.h"
#include "math/Sine.h"
#include "skills/CPGBehavior.h"
#include "skills/MDLParser.h"
#include "skills/SlotBehavior.h"
#include "skills/StepBehavior.h"

namespace {

// A pattern behaviour that owns the sines of its generators.
class BuiltCPGBehavior : public CPGBehavior {
 public:
  std::vector<std::unique_ptr<Sine> > sines;
};

double** emptyMatrix(int dim1, int dim2) {
  double** m = static_cast<double**>(std::malloc(sizeof(double*) * static_cast<size_t>(dim1)));
  for (int r = 0; r < dim1; ++r) {
    m[r] = static_cast<double*>(std::malloc(sizeof(double) * static_cast<size_t>(dim2)));
    for (int c = 0; c < dim2; ++c) m[r][c] = Reader::EmptyCell;
  }
  return m;
}

}  // namespace

double** Reader::reader(const std::string& filename, const std::string& type, int* dim1, int* dim2) {
  *dim1 = 0;
  *dim2 = 0;
  if (type == "CPGBehavior") return readCPG(filename, dim1, dim2);
  const bool slots = type == "SlotBehavior" || type == "ExpediteSlotBehavior";
  if (!slots && type != "StepBehavior") return nullptr;

  // the motion-file reader builds the behaviour the file declares
  std::unique_ptr<Behavior> b(MDLParser::parse(filename, true));
  if (slots) {
    SlotBehavior* s = dynamic_cast<SlotBehavior*>(b.get());
    if (!s || s->slots.empty()) {
      std::cerr << "Optimize Reader: " << filename << (s ? " has no slots" : " holds no keyframe behaviour")
                << std::endl;
      return nullptr;
    }
    const int rows = static_cast<int>(s->slots.size());
    double** m = emptyMatrix(rows, SlotColumns);
    for (int r = 0; r < rows; ++r) {
      m[r][0] = s->slots[r].delta;
      for (const auto& t : s->slots[r].targets)
        if (t.first >= 0 && t.first < JointCount) m[r][t.first + 1] = t.second;
    }
    *dim1 = rows;
    *dim2 = SlotColumns;
    return m;
  }

  StepBehavior* s = dynamic_cast<StepBehavior*>(b.get());
  if (!s || s->steps.empty()) {
    std::cerr << "Optimize Reader: " << filename << (s ? " has no steps" : " holds no step behaviour") << std::endl;
    return nullptr;
  }
  const int rows = static_cast<int>(s->steps.size());
  double** m = emptyMatrix(rows, StepColumns);
  for (int r = 0; r < rows; ++r) {
    const StepBehavior::Step& st = s->steps[r];
    m[r][0] = st.wait;
    m[r][1] = st.cType;
    m[r][2] = st.power;
    m[r][3] = st.addPower;
    m[r][4] = st.trh;
    for (const auto& a : st.angles)
      if (a.first >= 0 && a.first < JointCount) m[r][5 + 2 * a.first] = a.second;
    for (const auto& v : st.speeds)
      if (v.first >= 0 && v.first < JointCount) m[r][6 + 2 * v.first] = v.second;
  }
  *dim1 = rows;
  *dim2 = StepColumns;
  return m;
}

SlotBehavior* Reader::createSlotBehavior(double** sol, int dim1, int dim2, bool expedite) {
  if (!fits(sol, dim1, dim2, SLOT_BEHAVIOR)) return nullptr;
  SlotBehavior* b = new SlotBehavior();
  if (expedite) b->switchToExpediteMode();
  for (int r = 0; r < dim1; ++r) {
    b->addSlot(static_cast<float>(sol[r][0]), "slotOp");
    for (int c = 1; c < dim2; ++c)
      if (sol[r][c] != EmptyCell) b->addMove(r, c - 1, static_cast<float>(sol[r][c]), false, -1, -1, -1);
  }
  return b;
}

CPGBehavior* Reader::createCPGBehavior(double** sol, int dim1, int dim2) {
  if (!fits(sol, dim1, dim2, CPG_BEHAVIOR)) return nullptr;
  BuiltCPGBehavior* b = new BuiltCPGBehavior();
  b->setDelta(sol[0][0] == EmptyCell ? 0.0f : static_cast<float>(sol[0][0]));
  // joint 0 takes no pattern
  for (int r = 2; r < dim1; ++r) {
    if (sol[r][0] == EmptyCell) continue;
    b->sines.emplace_back(new Sine(static_cast<float>(sol[r][0]), static_cast<float>(sol[r][1]),
                                   static_cast<float>(sol[r][2]), static_cast<float>(sol[r][3])));
    PatternGenerator<float, float>* g = new PatternGenerator<float, float>();
    g->addFunction(b->sines.back().get());
    b->setPattern(r - 1, g, -1, -1, -1);
  }
  return b;
}

StepBehavior* Reader::createStepBehavior(double** sol, int dim1, int dim2) {
  if (!fits(sol, dim1, dim2, STEP_BEHAVIOR)) return nullptr;
  StepBehavior* b = new StepBehavior();
  for (int r = 0; r < dim1; ++r) {
    const double* row = sol[r];
    b->addStep(static_cast<float>(row[0]), static_cast<float>(row[1]), static_cast<float>(row[4]),
               static_cast<float>(row[2]), static_cast<float>(row[3]));
    for (int j = 0; 6 + 2 * j < dim2; ++j)
      if (row[5 + 2 * j] != EmptyCell)
        b->addMove(r, j, static_cast<float>(row[5 + 2 * j]), static_cast<float>(row[6 + 2 * j]));
  }
  return b;
}
