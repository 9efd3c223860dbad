#include "strategy/Strategy.h"

Strategy::Strategy() : ST_NUM_PLAYERS(MAX_PLAYERS) {}

Vector Strategy::GetStrategicPos(int /*unum*/) const { return Vector(0, 0); }
