// Header and footer parts kept as records, and the field codes of their texts.
#include "../model/model_fixture.h"
#include "platform/system/date_time.h"
#include "platform/system/international.h"
#include "printing/header_footer.h"

namespace {

TEST(HeaderFieldsTest, EachCodeStandsForItsValueAndOthersStay) {
    pf::DateTimeRec when{};
    when.year = 2026, when.month = 3, when.day = 9, when.hour = 14, when.minute = 5;
    HeaderFields fields;
    ASSERT_TRUE(pf::date_to_seconds(when, fields.now));
    fields.page = 7;
    fields.pages = 12;
    fields.layer = "Sales";
    fields.file = "Budget 2026";
    const std::string date = pf::date_string(fields.now, pf::DateForm::short_date);
    const std::string time = pf::time_string(fields.now, false);
    EXPECT_EQ(expand_header_fields("Page ^p of ^n", fields), "Page 7 of 12");
    EXPECT_EQ(expand_header_fields("^f: ^l", fields), "Budget 2026: Sales");
    EXPECT_EQ(expand_header_fields("^d ^t", fields), date + " " + time);
    EXPECT_EQ(expand_header_fields("^P/^N", fields), "7/12");
    // Unknown codes, a doubled caret and a caret at the end are text.
    EXPECT_EQ(expand_header_fields("^x ^^p ^", fields), "^x ^7 ^");
    EXPECT_EQ(expand_header_fields("", fields), "");
}

class HeaderPartsTest : public ModelTest {
protected:
    void TearDown() override {
        DisposeNonNilMemory(list);
        ModelTest::TearDown();
    }
    MemoryRef list = nullptr;
};

TEST_F(HeaderPartsTest, PartsKeepEveryFieldAndLongTextsAreCut) {
    HeaderPart left;
    left.text = "^f";
    HeaderPart right;
    right.alignment = kHeaderRight;
    right.font = 4;
    right.size = 10;
    right.face = 1;
    right.colour = 3;
    right.text = std::string(80, 'x');
    list = header_parts_list({left, right});
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(GetByteSize(list), 2 * kHeaderPartSize);
    const std::vector<HeaderPart> read = header_parts_of(list);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].alignment, kHeaderLeft);
    EXPECT_EQ(read[0].font, kHeaderLayerFont);
    EXPECT_EQ(read[0].text, "^f");
    EXPECT_EQ(read[1].alignment, kHeaderRight);
    EXPECT_EQ(read[1].font, 4);
    EXPECT_EQ(read[1].size, 10);
    EXPECT_EQ(read[1].face, 1);
    EXPECT_EQ(read[1].colour, 3);
    EXPECT_EQ(read[1].text, std::string(kHeaderPartTextCapacity, 'x'));
    EXPECT_EQ(header_parts_list({}), nullptr);
    EXPECT_TRUE(header_parts_of(nullptr).empty());
}

TEST(HeaderTextsTest, TheEditorsTextsGoToTheFirstPartOfEachAlignmentAndOthersStay) {
    HeaderPart styled;
    styled.alignment = kHeaderRight;
    styled.font = 4;
    styled.face = 1;
    styled.text = "old right";
    HeaderPart second_left;
    second_left.text = "second left";
    HeaderPart odd;  // an alignment other than -1 and 1 counts as left
    odd.alignment = 7;
    odd.text = "first left";
    const std::vector<HeaderPart> parts{styled, odd, second_left};
    EXPECT_EQ(aligned_text(parts, kHeaderLeft), "first left");
    EXPECT_EQ(aligned_text(parts, kHeaderCentre), "");

    const std::string texts[3] = {"left", "", "Page ^p " + std::string(70, 'x')};
    const std::vector<HeaderPart> edited = with_aligned_texts(parts, texts);
    ASSERT_EQ(edited.size(), 3u) << "no centre part is made for an empty text";
    EXPECT_EQ(edited[0].text.size(), size_t(kHeaderPartTextCapacity));
    EXPECT_EQ(edited[0].font, 4);
    EXPECT_EQ(edited[0].face, 1);
    EXPECT_EQ(edited[1].text, "left");
    EXPECT_EQ(edited[2].text, "second left");

    const std::string centred[3] = {"", "Title", ""};
    const std::vector<HeaderPart> made = with_aligned_texts({}, centred);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0].alignment, kHeaderCentre);
    EXPECT_EQ(made[0].font, kHeaderLayerFont);
}

}  // namespace
