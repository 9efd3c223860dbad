#ifndef OSTREVANDA_SETPLAY_OBJECT_H
#define OSTREVANDA_SETPLAY_OBJECT_H

#include <ostream>
#include <string>
#include <vector>

namespace ostrevanda {
namespace setplay {

class SetplayParameter;
class PlayerReference;

// A thing on the field: the ball, a goal or a player.
class Object {
public:
    virtual ~Object() {}
    virtual void print(std::ostream& os) const = 0;
    virtual Object* deepCopy(const std::vector<SetplayParameter*>& params,
                             const std::vector<PlayerReference*>& players) const = 0;
    virtual Object* inversion(const std::vector<SetplayParameter*>& params,
                              const std::vector<PlayerReference*>& players) const = 0;
    virtual char type() const = 0;

    static Object* parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
                         const std::vector<PlayerReference*>& players);
};

class MobileObject : public Object {
public:
    static Object* parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
                         const std::vector<PlayerReference*>& players);
};

class StaticObject : public Object {
public:
    static Object* parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
                         const std::vector<PlayerReference*>& players);
};

class Ball : public MobileObject {
public:
    void print(std::ostream& os) const override { os << "(ball)"; }
    Object* deepCopy(const std::vector<SetplayParameter*>&, const std::vector<PlayerReference*>&) const override {
        return new Ball();
    }
    Object* inversion(const std::vector<SetplayParameter*>&, const std::vector<PlayerReference*>&) const override {
        return new Ball();
    }
    char type() const override { return 'b'; }
    static Ball* parse(const std::string& in, std::string& out);
};

class OwnGoal : public StaticObject {
public:
    void print(std::ostream& os) const override { os << "(ownGoal)"; }
    Object* deepCopy(const std::vector<SetplayParameter*>&, const std::vector<PlayerReference*>&) const override {
        return new OwnGoal();
    }
    Object* inversion(const std::vector<SetplayParameter*>&, const std::vector<PlayerReference*>&) const override {
        return new OwnGoal();
    }
    char type() const override { return 'o'; }
    static OwnGoal* parse(const std::string& in, std::string& out);
};

class OppGoal : public StaticObject {
public:
    void print(std::ostream& os) const override { os << "(oppGoal)"; }
    Object* deepCopy(const std::vector<SetplayParameter*>&, const std::vector<PlayerReference*>&) const override {
        return new OppGoal();
    }
    Object* inversion(const std::vector<SetplayParameter*>&, const std::vector<PlayerReference*>&) const override {
        return new OppGoal();
    }
    char type() const override { return 'g'; }
    static OppGoal* parse(const std::string& in, std::string& out);
};

}  // namespace setplay
}  // namespace ostrevanda

#endif
