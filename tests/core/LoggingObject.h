// An object that writes its destruction into a shared log, to check when handles free it.
#pragma once

#include <string>

#include "core/Object.h"

namespace vornel::test {

class LoggingObject : public Object {
public:
    LoggingObject(std::string* log, char name) : m_log(log), m_name(name) {}

protected:
    ~LoggingObject() override { *m_log += std::string("~") + m_name; }

private:
    std::string* m_log;
    char m_name;
};

}  // namespace vornel::test
