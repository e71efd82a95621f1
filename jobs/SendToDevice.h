#pragma once
// Send to device: a checked SRF file into the device's Garmin/Vehicle folder.
// A different file of the same name on the device stops the job with
// `exists` set; the caller asks (or reads --force) and calls again with
// `replace`, so the question sits between the two calls, not inside the job.
#include <string>
#include <utility>

#include "jobs/Result.h"
#include "srf/SendToDevice.h"

namespace velkor {

struct SendSettings {
  std::string srfFile;   // the SRF file to send, checked before anything is written
  std::string device;    // the device's root (the folder holding Garmin/)
  bool replace = false;  // replace a different file of the same name
};

// Why a file was not sent: its message names the files.
struct SendStop : Failure {
  SendStop(std::string message_, bool exists_) : Failure(std::move(message_)), exists(exists_) {}
  bool exists = false;  // a different file of that name is on the device and was kept
};

// The outcome (Copied or AlreadyThere) with its message, or why not.
Result<SendResult, SendStop> SendToDevice(const SendSettings& settings);

}  // namespace velkor
