#include <iostream>

int main(int argc, char** argv) {
  (void)argc;
  (void)argv;
  std::cout << "velkmod-cli\n";
  return 0;
}
