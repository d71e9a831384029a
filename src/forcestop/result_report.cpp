#include "forcestop/result_report.h"

#include "common/texts.h"

namespace vornik {

ForceStopReport SuccessReport(const std::string& name) {
  return {texts::kSuccessTitle, kIconInformation, texts::kSuccessPrefix + name};
}

ForceStopReport FailureReport(const std::string& name) {
  return {texts::kFailureTitle, kIconError,
          texts::kFailurePrefix + name + texts::kFailureSuffix};
}

}  // namespace vornik
