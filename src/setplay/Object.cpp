#include "setplay/Object.h"

#include "setplay/PlayerReference.h"
#include "setplay/simpleParsers.h"

namespace ostrevanda {
namespace setplay {

namespace {
template <typename T>
T* parseKeyword(const std::string& in, std::string& out, const char* keyword) {
    out = in;
    Scan sc(in);
    if (!sc.kw(keyword) || !sc.ch(')')) return nullptr;
    out = sc.rest();
    return new T();
}
}  // namespace

Ball* Ball::parse(const std::string& in, std::string& out) { return parseKeyword<Ball>(in, out, "(ball"); }
OwnGoal* OwnGoal::parse(const std::string& in, std::string& out) { return parseKeyword<OwnGoal>(in, out, "(ownGoal"); }
OppGoal* OppGoal::parse(const std::string& in, std::string& out) { return parseKeyword<OppGoal>(in, out, "(oppGoal"); }

Object* StaticObject::parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>&,
                            const std::vector<PlayerReference*>&) {
    if (Object* o = OppGoal::parse(in, out)) return o;
    return OwnGoal::parse(in, out);
}

Object* MobileObject::parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
                            const std::vector<PlayerReference*>& players) {
    if (Object* o = Ball::parse(in, out)) return o;
    return PlayerReference::parse(in, out, params, players);
}

Object* Object::parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
                      const std::vector<PlayerReference*>& players) {
    if (Object* o = OppGoal::parse(in, out)) return o;
    if (Object* o = OwnGoal::parse(in, out)) return o;
    return MobileObject::parse(in, out, params, players);
}

}  // namespace setplay
}  // namespace ostrevanda
