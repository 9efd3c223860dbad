#ifndef RCSC_FORM_SAMPLE_DATA_H
#define RCSC_FORM_SAMPLE_DATA_H

#include "form/vector_2d.h"

#include <vector>

namespace rcsc {
namespace formation {

// One formation sample: the changed player positions for one ball position.
class SampleData {
public:
    typedef std::vector<Vector2D> PlayerCont;

    int bowner_;                          // player with the ball
    int index_;                           // sample index (vertex id + 1)
    PlayerCont players_;                  // changed player positions
    std::vector<int> players_modified_;   // their numbers, parallel to players_

    SampleData(const int bowner, const int index, const PlayerCont& players,
               const std::vector<int>& players_modified);

    // Throws std::out_of_range for an index outside the list.
    const Vector2D& getPosition(const int i) const;
    int nPlayersChanged() const;
    int getPlayerChanged(const int i) const;
};

}  // namespace formation
}  // namespace rcsc

#endif
