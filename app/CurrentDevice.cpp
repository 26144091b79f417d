#include "app/CurrentDevice.h"

CurrentDeviceRecord CurrentDevice;
