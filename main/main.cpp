// vesk: the Kintrail client, living in the notification area.
#include "forms/application.h"

int main(int argc, char** argv) {
  return RunVesk(argc, argv);
}
