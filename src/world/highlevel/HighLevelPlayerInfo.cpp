#include "world/highlevel/HighLevelPlayerInfo.h"

HighLevelPlayerInfo::HighLevelPlayerInfo(int pid)
    : id(pid), team(0), position(0, 0, 0), confidence(-1), orientation(0)
{
}
