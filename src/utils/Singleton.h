#ifndef UTILS_SINGLETON_H
#define UTILS_SINGLETON_H

// Process-wide services: Singleton<T>::getInstance() returns the one T, built
// on the first call and destroyed at normal exit. If T() throws, the next call
// tries again. T's constructor must not ask for its own instance.
template <class T>
class Singleton {
 public:
  static T& getInstance() {
    static T instance;
    return instance;
  }

 private:
  Singleton();
  ~Singleton();
  Singleton(const Singleton&);
  Singleton& operator=(const Singleton&);
};

#endif
