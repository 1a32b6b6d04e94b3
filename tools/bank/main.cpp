// Entry of the vornel-bank program: hands the arguments to BankCommand.
#include <string>
#include <vector>

#include "BankCommand.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return vornel::BankCommand::run(args);
}
