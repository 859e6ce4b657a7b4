#include "app/run.h"

int main(int argc, char** argv) {
  return hardclone::Run(hardclone::PlatformSystem(argc, argv));
}
