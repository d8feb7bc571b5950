#include "gui/view_status.h"

#include <gtest/gtest.h>

namespace {

struct StatusCase {
  ViewStatusInput input;
  const char* text;
};

TEST(ViewStatusTest, SaysWhatIsShownOrWhyNothingIs) {
  const StatusCase cases[] = {
      {{"/d/a.wmf", DocumentKind::Wmf, false, RenderStatus::Ok, true}, "a.wmf (Wmf)"},
      {{"/d/a.wmf", DocumentKind::Wmf, true, RenderStatus::Ok, true}, "Drawing a.wmf (Wmf)..."},
      {{"/d/a.wmf", DocumentKind::Wmf, false, RenderStatus::Partial, true},
       "a.wmf (Wmf): drawing is incomplete"},
      {{"/d/a.wmf", DocumentKind::Wmf, false, RenderStatus::Unreadable, true},
       "a.wmf (Wmf): cannot read file"},
      {{"/d/a.rtf", DocumentKind::Rtf, false, RenderStatus::NotDrawable, true},
       "a.rtf: not a drawable file: detected as Rtf"},
      {{"/d/x", DocumentKind::Unrecognised, false, RenderStatus::NotDrawable, true},
       "x: not a drawable file: format not recognised"},
      {{"/d/gone.wmf", DocumentKind::Rejected, false, RenderStatus::NotDrawable, false},
       "gone.wmf: cannot read file"},
      {{"/d/word.xml", DocumentKind::Rejected, false, RenderStatus::NotDrawable, true},
       "word.xml: not a drawable file: XML that is not SVG"},
      // A drawn kind whose renderer this build lacks.
      {{"a.svg", DocumentKind::Svg, false, RenderStatus::NotDrawable, true},
       "a.svg (Svg): this build has no renderer for Svg files"},
  };
  for (const StatusCase& c : cases) EXPECT_EQ(view_status_text(c.input), c.text);
}

TEST(ViewStatusTest, EmptyViewInvitesToOpen) {
  EXPECT_NE(view_status_text({}).find("Open Vectorgraphic"), std::string::npos);
}

}  // namespace
