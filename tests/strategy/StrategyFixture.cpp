#include "strategy/StrategyFixture.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

std::vector<std::string> baseStrategyLines()
{
    return {
        "test strategy",                                   // 0
        "Type: 1",                                         // 1
        "Counts: 1 11 1 1 1 1",                            // 2
        "Opponent: 0",                                     // 3
        "Rows and groups: 1 1",                            // 4
        "Window: 0 600 0 1 1 1 1 1",                       // 5
        "Tactics",                                         // 6
        "Tactic 1",                                        // 7
        "Numbers: 1 1 1 weights: 0.5 0.1 0.1 0.1 0.2",     // 8
        "Situations: 0",                                   // 9
        "Player types",                                    // 10
        "Numbers: 1",                                      // 11
        "Ax: 0.5",                                         // 12
        "Ay: 0.4",                                         // 13
        "AAA: 0",                                          // 14
        "AAD: 0",                                          // 15
        "Behind: 0",                                       // 16
        "MinX: -15",                                       // 17
        "MaxX: 15",                                        // 18
        "MinY: -10",                                       // 19
        "MaxY: 10",                                        // 20
        "Algorithm: 1",                                    // 21
        "Formations",                                      // 22
        "Formation: 1 2",                                  // 23
        "form.conf ",                                      // 24
        "Types: 1 1 1 1 1 1 1 1 1 1 1",                    // 25
        "Fluxes",                                          // 26
        "Flux: 1 1",                                       // 27
        "0 0 0 0 0 0 0 0 0",                               // 28
        "0 0 0 0 0 0 0 0 0",                               // 29
        "0 0 0 0 0 0 0 0 0",                               // 30
        "0 0 0 0 7 0 0 0 0",                               // 31
        "0 0 0 0 0 0 0 0 0",                               // 32
        "0 0 0 0 0 0 0 0 0",                               // 33
        "0 0 0 0 0 0 0 0 9",                               // 34
        "Set plays",                                       // 35
        "Plan",                                            // 36
        "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20",  // 37
        "Game",                                            // 38
        "Times: 600 0",                                    // 39
        "Field: 30 20",                                    // 40
        "Penalty: 1.8 6 2.1",                              // 41
        "Agent: 6 0.5 0.2",                                // 42
        "Kick off",                                        // 43
        "Active: 1",                                       // 44
        "Kicker: 11 -0.4 0.5 0",                           // 45
        "Ball: 7 -4.5 0 0 0 4.5",                          // 46
        "End",                                             // 47
    };
}

std::vector<std::string> slotRoles()
{
    return {"GOA", "DBL", "DBR", "DFL", "DFR", "KEC", "KEL", "KER", "SUL", "SUR", "KCF"};
}

std::string formationText(const std::vector<std::string>& roles, const std::vector<Sample>& samples)
{
    std::ostringstream s;
    s << "Formation\nroles\n";
    for (size_t p = 0; p < roles.size(); p++)
        s << p + 1 << " " << roles[p] << "\n";
    s << "samples\nBegin Samples 2 " << samples.size() << "\n";
    for (size_t k = 0; k < samples.size(); k++) {
        s << "----- " << k << " -----\n";
        s << "Ball " << samples[k].ball.x << " " << samples[k].ball.y << "\n";
        for (size_t p = 0; p < samples[k].players.size(); p++)
            s << p + 1 << " " << samples[k].players[p].x << " " << samples[k].players[p].y << "\n";
    }
    s << "End\nBegin Player With Ball Samples 0\n";
    return s.str();
}

Vector linearBase(int player) { return Vector(-13 + 2.2f * (player - 1), player % 2 ? 3.0f : -3.0f); }

std::vector<Vector> linearPositions(Vector ball)
{
    std::vector<Vector> v;
    for (int p = 1; p <= 11; p++)
        v.push_back(linearBase(p) + ball * 0.5f);
    return v;
}

TempDir::TempDir()
{
    char tmpl[] = "/tmp/strategy_test_XXXXXX";
    char* d = mkdtemp(tmpl);
    m_path = d == nullptr ? std::string("/tmp") : std::string(d);
}

TempDir::~TempDir()
{
    const std::string cmd = "rm -rf '" + m_path + "'";
    if (system(cmd.c_str()) != 0)
        ADD_FAILURE() << "could not remove " << m_path;
}

void TempDir::write(const std::string& name, const std::string& text) const
{
    std::ofstream f(m_path + "/" + name);
    f << text;
}

void TempDir::writeLines(const std::string& name, const std::vector<std::string>& lines) const
{
    std::string text;
    for (const std::string& l : lines)
        text += l + "\n";
    write(name, text);
}

std::unique_ptr<Strategy> loadStrategy(const std::string& dir)
{
    char here[4096];
    if (getcwd(here, sizeof here) == nullptr)
        return nullptr;
    if (chdir(dir.c_str()) != 0)
        return nullptr;
    std::unique_ptr<Strategy> s(new Strategy());
    if (chdir(here) != 0)
        ADD_FAILURE() << "could not return to " << here;
    return s;
}

void StrategyFileFixture::SetUp()
{
    const std::vector<std::string> roles = slotRoles();
    std::vector<Sample> samples;
    for (Vector b : {Vector(-15, -10), Vector(15, -10), Vector(-15, 10), Vector(15, 10), Vector(0, 0)})
        samples.push_back(Sample{b, linearPositions(b)});
    dir.write("form.conf", formationText(roles, samples));
}

std::unique_ptr<Strategy> StrategyFileFixture::load()
{
    dir.writeLines("strategy.conf.3D", lines);
    return loadStrategy(dir.path());
}
