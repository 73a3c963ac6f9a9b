/* The public header on its own, as a C client includes it. */
#include "bngt32.h"

int32_t bngt32_header_check(void) {
  GTCMDSTRUCT command = {0};
  command.ulgtStructSize = GTCMDSTRUCT_SIZE;
  command.lFunction = GT_FUNCTION_GZIP;
  return command.lFunction;
}
