#include "svg/svg_status.h"

std::string_view svg_status_name(SvgStatus status) {
  switch (status) {
    case SvgStatus::Ok: return "Ok";
    case SvgStatus::OutOfMemory: return "OutOfMemory";
    case SvgStatus::ReadFailed: return "ReadFailed";
    case SvgStatus::NoSuchFile: return "NoSuchFile";
    case SvgStatus::BadValue: return "BadValue";
    case SvgStatus::WrongCallOrder: return "WrongCallOrder";
    case SvgStatus::Malformed: return "Malformed";
    case SvgStatus::NumbersEnded: return "NumbersEnded";
    case SvgStatus::NothingBuilt: return "NothingBuilt";
    case SvgStatus::AttributeMissing: return "AttributeMissing";
    case SvgStatus::NoPngSignature: return "NoPngSignature";
    case SvgStatus::NoJpegSignature: return "NoJpegSignature";
  }
  return "Unknown";
}
