#include "jobs/SendToDevice.h"

#include <new>

namespace velkor {

Result<SendResult, SendStop> SendToDevice(const SendSettings& settings) {
  try {
    SendResult result = SendSRFToDevice(settings.srfFile, settings.device, settings.replace);
    switch (result.outcome) {
      case SendOutcome::Copied:
      case SendOutcome::AlreadyThere: return result;
      default: return SendStop{result.message, result.outcome == SendOutcome::Exists};
    }
  } catch (const std::bad_alloc&) {
    return SendStop{"not enough memory", false};
  }
}

}  // namespace velkor
