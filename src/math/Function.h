#ifndef MATH_FUNCTION_H
#define MATH_FUNCTION_H

// A periodic joint generator: the value at `in`, scaled by the gain `amp`.
template <typename In, typename Out>
class Function {
public:
    virtual Out operator()(const In& in, float amp) = 0;
    virtual ~Function() {}
};

#endif
