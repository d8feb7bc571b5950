// Releases cairo's and fontconfig's caches when the tests end, so that the
// leak checker of the sanitizer build reports only leaks of ours.
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

namespace {

class CairoStaticData : public ::testing::Environment {
 public:
  void TearDown() override {
    cairo_debug_reset_static_data();
    FcFini();
  }
};

[[maybe_unused]] ::testing::Environment* const kCairoStaticData =
    ::testing::AddGlobalTestEnvironment(new CairoStaticData);

}  // namespace
