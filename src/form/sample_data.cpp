#include "form/sample_data.h"

#include <stdexcept>

namespace rcsc {
namespace formation {

namespace {

template <typename T>
const T& checkedAt(const std::vector<T>& v, const int i)
{
    if (i < 0 || static_cast<std::size_t>(i) >= v.size()) {
        throw std::out_of_range("SampleData: index out of range");
    }
    return v[static_cast<std::size_t>(i)];
}

}  // namespace

SampleData::SampleData(const int bowner, const int index, const PlayerCont& players,
                       const std::vector<int>& players_modified)
    : bowner_(bowner), index_(index), players_(players), players_modified_(players_modified)
{
}

const Vector2D& SampleData::getPosition(const int i) const { return checkedAt(players_, i); }

int SampleData::nPlayersChanged() const { return static_cast<int>(players_modified_.size()); }

int SampleData::getPlayerChanged(const int i) const { return checkedAt(players_modified_, i); }

}  // namespace formation
}  // namespace rcsc
