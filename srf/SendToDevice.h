#pragma once
// Copying a finished SRF file into a device's Garmin/Vehicle folder, where
// the device looks for vehicle icons. The file is checked first, so that a
// broken icon never reaches the device, and a different file of the same
// name is only replaced when the caller says so.
#include <string>

namespace velkor {

enum class SendOutcome {
  Copied,        // the file is now on the device
  AlreadyThere,  // an identical file was there already; nothing written
  Exists,        // a different file of that name is there; kept (not forced)
  BadFile,       // the SRF file is not readable or its checksum does not match
  Failed,        // the device folder or the copy could not be written
};

struct SendResult {
  SendOutcome outcome = SendOutcome::Failed;
  std::string target;   // DEVICE/Garmin/Vehicle/NAME.srf
  std::string message;  // for people: what happened, naming the files
};

// `device` is the device's root (the folder holding Garmin/). The copy is
// written beside the target, flushed to the device and renamed into place.
SendResult SendSRFToDevice(const std::string& srfFile, const std::string& device, bool replace);

}  // namespace velkor
