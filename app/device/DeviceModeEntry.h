#pragma once

#include "app/devicedesc/DeviceList.h"

// One mode record of config.xml with the fields of its mouse entry: the device link's search
// filters are the mode list that the device list load reads.
using DeviceModeEntry = DeviceEntry;
