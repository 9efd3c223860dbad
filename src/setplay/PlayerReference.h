#ifndef OSTREVANDA_SETPLAY_PLAYERREFERENCE_H
#define OSTREVANDA_SETPLAY_PLAYERREFERENCE_H

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "setplay/Object.h"
#include "setplay/Shareable.h"

namespace ostrevanda {
namespace setplay {

class Context;
class PlayerID;

// A concrete player or a role bound to one when the set play starts.
class PlayerReference : public MobileObject, public Shareable {
public:
    void print(std::ostream& os) const override = 0;
    PlayerReference* deepCopy(const std::vector<SetplayParameter*>& params,
                              const std::vector<PlayerReference*>& players) const override = 0;
    PlayerReference* inversion(const std::vector<SetplayParameter*>& params,
                               const std::vector<PlayerReference*>& players) const override = 0;
    char type() const override { return 'p'; }
    virtual bool isRole() const = 0;
    virtual bool equals(const PlayerReference& other) const = 0;
    virtual const PlayerID* value() const = 0;
    virtual std::string instantiationText(const Context& world, bool shortForm) const = 0;
    virtual PlayerReference* deepCopy() const = 0;

    static PlayerReference* parse(const std::string& in, std::string& out,
                                  const std::vector<SetplayParameter*>& params,
                                  const std::vector<PlayerReference*>& players);
    static PlayerReference* parseOpp(const std::string& in, std::string& out,
                                     const std::vector<SetplayParameter*>& params,
                                     const std::vector<PlayerReference*>& playersOpponent);
    static std::vector<PlayerReference*> parsePlayerList(const std::string& in, std::string& out,
                                                         const std::vector<SetplayParameter*>& params,
                                                         const std::vector<PlayerReference*>& players);
    static std::vector<PlayerReference*> parsePlayerListOpp(const std::string& in, std::string& out,
                                                            const std::vector<SetplayParameter*>& params,
                                                            const std::vector<PlayerReference*>& playersOpponent);
    // New references to the eleven players of "our" or "opp", or of both for "any".
    static std::vector<PlayerReference*> allPlayersFrom(const std::string& team);
};

class PlayerID : public PlayerReference {
public:
    PlayerID(const std::string& team_, unsigned int number_) : team(team_), number(number_) {}

    void print(std::ostream& os) const override;
    PlayerID* deepCopy(const std::vector<SetplayParameter*>&, const std::vector<PlayerReference*>&) const override {
        return new PlayerID(team, number);
    }
    PlayerID* inversion(const std::vector<SetplayParameter*>&, const std::vector<PlayerReference*>&) const override {
        return new PlayerID(team, number);
    }
    bool isRole() const override { return false; }
    bool equals(const PlayerReference& other) const override;
    const PlayerID* value() const override { return this; }
    std::string instantiationText(const Context& world, bool shortForm) const override;
    PlayerID* deepCopy() const override { return new PlayerID(team, number); }
    virtual PlayerID* inversion() const { return new PlayerID(team, number); }

    static PlayerID* parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
                           const std::vector<PlayerReference*>& players);
    static PlayerID* parseOpp(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
                              const std::vector<PlayerReference*>& players);

    const std::string team;
    const unsigned int number;
};

class PlayerRole : public PlayerReference {
public:
    explicit PlayerRole(const std::string& roleName) : name(roleName), value_(nullptr) {}
    ~PlayerRole() override { delete value_; }
    PlayerRole(const PlayerRole&) = delete;
    PlayerRole& operator=(const PlayerRole&) = delete;

    void print(std::ostream& os) const override;
    PlayerReference* deepCopy(const std::vector<SetplayParameter*>& params,
                              const std::vector<PlayerReference*>& players) const override;
    PlayerReference* inversion(const std::vector<SetplayParameter*>& params,
                               const std::vector<PlayerReference*>& players) const override;
    bool isRole() const override { return true; }
    bool equals(const PlayerReference& other) const override;
    const PlayerID* value() const override;
    std::string instantiationText(const Context& world, bool shortForm) const override;
    PlayerRole* deepCopy() const override;

    std::string roleName() const { return name; }
    // Takes the player over.
    void set(PlayerID* player) {
        if (player != value_) delete value_;
        value_ = player;
    }
    void uninstantiate() {
        delete value_;
        value_ = nullptr;
    }
    bool instantiated() const { return value_ != nullptr; }

    static PlayerRole* parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
                             const std::vector<PlayerReference*>& players);
    static PlayerRole* parseOpp(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
                                const std::vector<PlayerReference*>& players);

private:
    std::string name;
    PlayerID* value_;
};

// Disposes of each reference of the list.
void disposeAll(const std::vector<const PlayerReference*>& refs);

// New copies of the references, or none if one copy throws.
std::vector<const PlayerReference*> copyPlayers(const std::vector<const PlayerReference*>& refs,
                                                const std::vector<SetplayParameter*>& params,
                                                const std::vector<PlayerReference*>& players);

// Player references read from text, disposed of unless handed over.
class RefList {
public:
    RefList() {}
    explicit RefList(std::vector<PlayerReference*> v) : v_(std::move(v)) {}
    ~RefList() { clear(); }
    RefList(const RefList&) = delete;
    RefList& operator=(const RefList&) = delete;
    bool empty() const { return v_.empty(); }
    void reset(std::vector<PlayerReference*> v) {
        clear();
        v_ = std::move(v);
    }
    std::vector<const PlayerReference*> release() {
        std::vector<const PlayerReference*> r(v_.begin(), v_.end());
        v_.clear();
        return r;
    }

private:
    void clear() {
        for (PlayerReference* p : v_) dispose(p);
    }
    std::vector<PlayerReference*> v_;
};

}  // namespace setplay
}  // namespace ostrevanda

#endif
