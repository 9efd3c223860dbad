#ifndef WORLD_SAYTIMETABLE_H
#define WORLD_SAYTIMETABLE_H

// When team-mates speak: eleven slots of two cycles, shirt numbers 1 to 11 in
// turn, a turn every 22 cycles (0.44 s). What is said in reply to the message
// of cycle n is heard in the message of cycle n + 2, and each player takes
// one team-mate message every two cycles: of a slot's two messages some hear
// the first, others the second.
namespace saytimetable {

constexpr int SLOT_CYCLES = 2;
constexpr int SLOTS = 11;
constexpr int TURN_CYCLES = SLOT_CYCLES * SLOTS;
constexpr int HEARD_AFTER = 2;

// The server clock in cycles of 0.02 s.
inline int cycleOf(float clock)
{
    const float hundredths = clock * 100.0f;
    return static_cast<int>(hundredths + 0.5) / 2;
}

// Shirt number of the player whose slot holds cycle `cycle`.
inline int speakerOf(int cycle) { return (cycle / SLOT_CYCLES) % SLOTS + 1; }

// Whether `cycle` is the first of its slot.
inline bool opensSlot(int cycle) { return cycle % SLOT_CYCLES == 0; }

// Whether the message of `cycle` comes right after the one that brought the
// first message of a turn's last slot: who heard it has every vote of the
// turn, who hears the slot's second message has them only now.
inline bool lastSlotHalfHeard(int cycle)
{
    const int said = cycle - 1 - HEARD_AFTER;
    return ((said % TURN_CYCLES) + TURN_CYCLES) % TURN_CYCLES == TURN_CYCLES - SLOT_CYCLES;
}

}  // namespace saytimetable

#endif
