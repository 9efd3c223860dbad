#include "strategy/Trajectory.h"

#include "strategy/PassMethods.h"

// The access index is a factor of every pass quality; one positive value for
// all keeps the quality order.
Trajectory::Trajectory()
    : direction(0, 0),
      pontoPasse(0, 0),
      yInt(0),
      indiceContribuicao(0),
      distGoalToPP(1000),
      classification(PassMethods::PASSE),
      maxIndiceQuali(1),
      numOppOnRTOPP(1000),
      indiceAcessoPP(1),
      bestQuality(1),
      bestReceptor(1)
{
}
