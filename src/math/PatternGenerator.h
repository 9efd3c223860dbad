#ifndef MATH_PATTERNGENERATOR_H
#define MATH_PATTERNGENERATOR_H

#include <vector>

#include "math/Function.h"

// The values of a list of component functions at one input. The components
// are not owned: a copy shares them, and destruction frees only the list.
template <typename In, typename Out>
class PatternGenerator : public Function<In, std::vector<Out> > {
public:
    std::vector<Out> operator()(const In& in, float amp) override {
        std::vector<Out> out;
        out.reserve(d_functions.size());
        for (size_t k = 0; k < d_functions.size(); ++k) {
            out.push_back((*d_functions[k])(in, amp));
        }
        return out;
    }

    void addFunction(Function<In, Out>* function) { d_functions.push_back(function); }

private:
    std::vector<Function<In, Out>*> d_functions;
};

#endif
