#ifndef OSTREVANDA_SETPLAY_POINT_H
#define OSTREVANDA_SETPLAY_POINT_H

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "setplay/SetplayParameter.h"
#include "setplay/clang/CompOp.h"

namespace ostrevanda {
namespace setplay {

class Context;
class PlayerReference;
class PointSimple;

// A position on the field; yields a concrete position through a Context.
class Point {
public:
    virtual ~Point() {}
    virtual void print(std::ostream& os) const = 0;
    virtual void printPretty(std::ostream& os, const std::string& line_header) const = 0;
    virtual std::string instantiationText(const Context& world, bool shortForm) const = 0;
    // A new point owned by the caller.
    virtual PointSimple* asPointSimple(const Context& world) const = 0;
    virtual Point* deepCopy(const std::vector<SetplayParameter*>& params,
                            const std::vector<PlayerReference*>& players) const = 0;
    virtual Point* inversion(const std::vector<SetplayParameter*>& params,
                             const std::vector<PlayerReference*>& players) const = 0;

    static Point* parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
                        const std::vector<PlayerReference*>& players);
};

class PointSimple : public Point {
public:
    // Takes both coordinates over.
    PointSimple(Decimal* x, Decimal* y) : M_x(x), M_y(y) {}
    ~PointSimple() override;
    PointSimple(const PointSimple&) = delete;
    PointSimple& operator=(const PointSimple&) = delete;

    void print(std::ostream& os) const override;
    void printPretty(std::ostream& os, const std::string& line_header) const override;
    std::string instantiationText(const Context& world, bool shortForm) const override;
    PointSimple* asPointSimple(const Context& world) const override;
    PointSimple* deepCopy(const std::vector<SetplayParameter*>& params,
                          const std::vector<PlayerReference*>& players) const override;
    PointSimple* inversion(const std::vector<SetplayParameter*>& params,
                           const std::vector<PlayerReference*>& players) const override;
    virtual void substituteBallAndPlayersPositions(const PointSimple*, const std::vector<const PointSimple*>*,
                                                   const std::vector<const PointSimple*>*) {}

    Decimal* getX() const { return M_x; }
    Decimal* getY() const { return M_y; }
    double distance(const PointSimple& other) const;
    // A copy with the same coordinate names, flags and values.
    PointSimple* exactCopy() const;

    static PointSimple* parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
                              const std::vector<PlayerReference*>& players);

private:
    Decimal* M_x;
    Decimal* M_y;
};

class PointBall : public Point {
public:
    void print(std::ostream& os) const override { os << "(pt ball)"; }
    void printPretty(std::ostream& os, const std::string& line_header) const override;
    std::string instantiationText(const Context& world, bool shortForm) const override;
    PointSimple* asPointSimple(const Context& world) const override;
    PointBall* deepCopy(const std::vector<SetplayParameter*>&, const std::vector<PlayerReference*>&) const override {
        return new PointBall();
    }
    PointBall* inversion(const std::vector<SetplayParameter*>&, const std::vector<PlayerReference*>&) const override {
        return new PointBall();
    }

    static PointBall* parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
                            const std::vector<PlayerReference*>& players);
};

class PointPlayer : public Point {
public:
    explicit PointPlayer(const PlayerReference* p) : player(p) {}
    ~PointPlayer() override;
    PointPlayer(const PointPlayer&) = delete;
    PointPlayer& operator=(const PointPlayer&) = delete;

    void print(std::ostream& os) const override;
    void printPretty(std::ostream& os, const std::string& line_header) const override;
    std::string instantiationText(const Context& world, bool shortForm) const override;
    PointSimple* asPointSimple(const Context& world) const override;
    PointPlayer* deepCopy(const std::vector<SetplayParameter*>& params,
                          const std::vector<PlayerReference*>& players) const override;
    PointPlayer* inversion(const std::vector<SetplayParameter*>& params,
                           const std::vector<PlayerReference*>& players) const override;

    bool isOurSide() const;
    bool isTheirSide() const;
    unsigned int getUNum() const;
    const PlayerReference* getPlayer() const { return player; }

    static PointPlayer* parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
                              const std::vector<PlayerReference*>& players);

private:
    const PlayerReference* player;
};

class PointRel : public Point {
public:
    PointRel(Point* origin, Decimal* x, Decimal* y) : m_origin(origin), x_offset(x), y_offset(y) {}
    ~PointRel() override;
    PointRel(const PointRel&) = delete;
    PointRel& operator=(const PointRel&) = delete;

    void print(std::ostream& os) const override;
    void printPretty(std::ostream& os, const std::string& line_header) const override;
    std::string instantiationText(const Context& world, bool shortForm) const override;
    PointSimple* asPointSimple(const Context& world) const override;
    PointRel* deepCopy(const std::vector<SetplayParameter*>& params,
                       const std::vector<PlayerReference*>& players) const override;
    PointRel* inversion(const std::vector<SetplayParameter*>& params,
                        const std::vector<PlayerReference*>& players) const override;

    static PointRel* parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
                           const std::vector<PlayerReference*>& players);

private:
    Point* m_origin;
    Decimal* x_offset;
    Decimal* y_offset;
};

class PointArith : public Point {
public:
    PointArith(Point* a, Point* b, const rcss::util::ArithOp& op) : M_points{a, b}, M_arith_op(&op), M_idx(0) {}
    ~PointArith() override;
    PointArith(const PointArith&) = delete;
    PointArith& operator=(const PointArith&) = delete;

    void print(std::ostream& os) const override;
    void printPretty(std::ostream& os, const std::string& line_header) const override;
    std::string instantiationText(const Context& world, bool shortForm) const override;
    PointSimple* asPointSimple(const Context& world) const override;
    PointArith* deepCopy(const std::vector<SetplayParameter*>& params,
                         const std::vector<PlayerReference*>& players) const override;
    PointArith* inversion(const std::vector<SetplayParameter*>& params,
                          const std::vector<PlayerReference*>& players) const override;

    bool setPoint(unsigned int i, Point* p);
    bool setPoint(Point* p);

    static PointArith* parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
                             const std::vector<PlayerReference*>& players);

private:
    Point* M_points[2];
    const rcss::util::ArithOp* M_arith_op;
    unsigned int M_idx;
};

class PointVar : public Point, public SetplayParameter {
public:
    explicit PointVar(const std::string& name) : SetplayParameter(name), value_(nullptr) {}

    void print(std::ostream& os) const override;
    void printPretty(std::ostream& os, const std::string& line_header) const override;
    std::string instantiationText(const Context& world, bool shortForm) const override;
    PointSimple* asPointSimple(const Context& world) const override;
    Point* deepCopy(const std::vector<SetplayParameter*>& params,
                    const std::vector<PlayerReference*>& players) const override;
    Point* inversion(const std::vector<SetplayParameter*>& params,
                     const std::vector<PlayerReference*>& players) const override;
    char type() const override { return 'p'; }
    void uninstantiate() override;
    PointVar* deepCopy() const override;
    virtual void substituteBallAndPlayersPositions(const PointSimple*, const std::vector<const PointSimple*>*,
                                                   const std::vector<const PointSimple*>*) {}

    // Binds the variable; it keeps the point.
    void set(PointSimple* value);
    const PointSimple* value() const { return value_; }

    static PointVar* parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
                           const std::vector<PlayerReference*>& players);

private:
    const PointSimple* value_;
    std::unique_ptr<const PointSimple> owned_;
};

}  // namespace setplay
}  // namespace ostrevanda

#endif
