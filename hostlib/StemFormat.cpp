#include "hostlib/StemFormat.h"

#include "hostlib/CDAEError.h"
#include "hostlib/HostInterface.h"

int32_t ChannelsToStemFormat(int32_t channels) {
  switch (channels) {
  case 1:
    return 0;
  case 2:
    return 1;
  case 3:
    return 2;
  case 4:
    return 3;
  case 5:
    return 5;
  case 6:
    return 6;
  case 7:
    return 8;
  case 8:
    return 12;
  default:
    return -1;
  }
}

int32_t StemFormatToChannels(int32_t stemFormat) {
  switch (stemFormat) {
  case 0:
    return 1;
  case 1:
    return 2;
  case 2:
    return 3;
  case 3:
  case 4:
    return 4;
  case 5:
    return 5;
  case 6:
  case 7:
    return 6;
  case 8:
  case 9:
  case 11:
    return 7;
  case 10:
  case 12:
    return 8;
  default:
    throw CDAEError(hostabi::kErrGeneric);
  }
}
