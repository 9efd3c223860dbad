#ifndef STRATEGY_TRAJECTORY_H
#define STRATEGY_TRAJECTORY_H

#include <vector>

#include "geometry/Vector.h"

// One candidate kick direction with its pass point and the scores the pass
// evaluation attaches to it.
class Trajectory {
public:
    Trajectory();
    Trajectory(const Trajectory&) = default;
    Trajectory& operator=(const Trajectory&) = default;
    virtual ~Trajectory() {}

    void setDirection(Vector d) { direction = d; }
    Vector getDirection() const { return direction; }
    void setPontoPasse(Vector p) { pontoPasse = p; }
    Vector getPontoPasse() const { return pontoPasse; }
    void setClassification(int c) { classification = c; }
    int getClassification() const { return classification; }
    void setIndiceContribuicao(float v) { indiceContribuicao = v; }
    float getIndiceContribuicao() const { return indiceContribuicao; }
    void setYint(float y) { yInt = y; }
    float getYint() const { return yInt; }
    void setDistGoalToPP(float d) { distGoalToPP = d; }
    float getDistGoalToPP() const { return distGoalToPP; }
    void setNumOppOnRTOPP(int n) { numOppOnRTOPP = n; }
    int getNumOppRTOPP() const { return numOppOnRTOPP; }
    void setIndiceAcessoPP(int v) { indiceAcessoPP = v; }
    int getIndiceAcessoPP() const { return indiceAcessoPP; }
    void setBestQuality(int q) { bestQuality = q; }
    int getBestQuality() const { return bestQuality; }
    void setBestReceptor(int r) { bestReceptor = r; }
    int getBestReceptor() const { return bestReceptor; }
    void setMaxIndiceQuali(int m) { maxIndiceQuali = m; }
    int getMaxIndiceQuali() const { return maxIndiceQuali; }
    void setQualidade(std::vector<int> q) { qualidade = q; }
    std::vector<int> getQualidade() const { return qualidade; }
    void setVectorDistAllyToPP(std::vector<float> d) { distAllyToPP = d; }
    std::vector<float> getVectorDistAllyToPP() const { return distAllyToPP; }
    // Appends one receiver's distance.
    void setDistAllyToPP(float d) { distAllyToPP.push_back(d); }

private:
    Vector direction;
    Vector pontoPasse;
    float yInt;
    float indiceContribuicao;
    float distGoalToPP;
    int classification;
    int maxIndiceQuali;
    int numOppOnRTOPP;
    int indiceAcessoPP;
    int bestQuality;
    int bestReceptor;
    std::vector<float> distAllyToPP;
    std::vector<int> qualidade;
};

#endif
