// The object-model handlers through the handler table of the running program:
// events built from specifier texts, sent to ourselves with a reply.
#include "../app/app_fixture.h"

#include <cstring>
#include <utility>

#include "charts/chart_commands.h"
#include "charts/chart_palette.h"
#include "charts/chart_record.h"
#include "charts/charts.h"
#include "editing/clipboard.h"
#include "editing/undo.h"
#include "objects/object_records.h"
#include "platform/events/keyboard.h"
#include "shell/shell_commands.h"
#include "model/cell_format.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "platform/text/scripts.h"
#include "platform/text/text.h"
#include "model/workbook.h"
#include "platform/appleevents/object_text.h"
#include "scripting/object_model.h"
#include "window/doc_window.h"
#include "window/entry_line.h"
#include "window/selection_tracking.h"
#include "resource_ids.h"
#include "shell/file_menu.h"

namespace {

class ObjectModel : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        DoFileMenu(nullptr, kFileNewItem);
        run_until_idle();
        ASSERT_EQ(document_window_count(), 1);
    }

    pf::AEDesc object(const std::string& text) {
        pf::AEDesc spec;
        std::string error;
        EXPECT_TRUE(pf::parse_object_text(text, spec, error)) << text << ": " << error;
        return spec;
    }

    pf::AppleEvent event(const char (&event_class)[5], const char (&id)[5]) {
        pf::AEDesc self;
        pf::ae_address_of_self(self);
        pf::AppleEvent e;
        pf::ae_create_apple_event(pf::four_cc(event_class), pf::four_cc(id), self, pf::kAutoGenerateReturnId,
                                  pf::kAnyTransactionId, e);
        return e;
    }

    pf::OSErr send(const pf::AppleEvent& e, pf::AEDesc* result = nullptr) {
        pf::AppleEvent reply;
        pf::OSErr err = pf::ae_send(e, &reply, pf::kAEWaitReply);
        if (result) pf::ae_get_param_desc(reply, pf::kKeyDirectObject, pf::kTypeWildCard, *result);
        return err;
    }

    pf::OSErr get(const std::string& text, pf::AEDesc* result) { return send(get_event(text), result); }

    std::string get_text(const std::string& text) {
        pf::AEDesc result, as_text;
        EXPECT_EQ(get(text, &result), pf::noErr) << text;
        EXPECT_EQ(pf::ae_coerce_desc(result, pf::kTypeText, as_text), pf::noErr) << text;
        return std::string(as_text.data.begin(), as_text.data.end());
    }

    pf::AppleEvent set_event(const std::string& text, const std::string& value) {
        pf::AppleEvent e = event("core", "setd");
        pf::ae_put_param_desc(e, pf::kKeyDirectObject, object(text));
        pf::ae_put_param_ptr(e, pf::kKeyNewData, pf::kTypeUtf8Text, value.data(), value.size());
        return e;
    }

    pf::OSErr set(const std::string& text, const std::string& value) { return send(set_event(text, value)); }

    // The reason the reply to a request that fails with `expected` gives.
    std::string reason(const pf::AppleEvent& e, pf::OSErr expected) {
        pf::AppleEvent reply;
        EXPECT_EQ(pf::ae_send(e, &reply, pf::kAEWaitReply), expected);
        pf::AEDesc reason;
        if (pf::ae_get_param_desc(reply, pf::kKeyErrorString, pf::kTypeText, reason) != pf::noErr) return {};
        return std::string(reason.data.begin(), reason.data.end());
    }

    // The reason a refused set gives in its reply.
    std::string refusal(const std::string& text, const std::string& value) {
        return reason(set_event(text, value), pf::kAEEventFailedErr);
    }

    pf::AppleEvent get_event(const std::string& text) {
        pf::AppleEvent e = event("core", "getd");
        pf::ae_put_param_desc(e, pf::kKeyDirectObject, object(text));
        return e;
    }

    long count(const std::string& container, pf::FourCC element) {
        pf::AppleEvent e = event("core", "cnte");
        pf::ae_put_param_desc(e, pf::kKeyDirectObject, container.empty() ? pf::AEDesc{} : object(container));
        pf::ae_put_param_ptr(e, pf::kKeyClass, pf::kTypeType, &element, 4);
        pf::AEDesc result;
        EXPECT_EQ(send(e, &result), pf::noErr);
        int32_t n = -1;
        if (result.data.size() == 4) std::memcpy(&n, result.data.data(), 4);
        return n;
    }

    MemoryRef front_layer() { return sheetRefFromWindow(nth_document_window(1)); }
};

TEST_F(ObjectModel, ValuesAndFormulasAreSetAsTypedAndReadBackRecalculated) {
    ASSERT_EQ(set("value of cell A1 of layer 1 of document 1", "2"), pf::noErr);
    ASSERT_EQ(set("value of cell B1 of layer 1 of document 1", "3.5"), pf::noErr);
    ASSERT_EQ(set("formula of cell C1 of document 1", "=SUM(A1:B1)"), pf::noErr);
    EXPECT_EQ(get_text("value of cell C1 of layer 1 of document 1"), "5.5");
    EXPECT_EQ(get_text("formula of cell C1 of document 1"), "=SUM(A1:B1)");
    ASSERT_EQ(set("value of cell A1 of document 1", "10"), pf::noErr);
    EXPECT_EQ(get_text("value of cell C1"), "13.5") << "the sum follows its inputs";
    EXPECT_EQ(get_text("value of cell A2"), "") << "an empty cell reads as an empty text";
    ASSERT_EQ(set("value of cell A2", "hello"), pf::noErr);
    EXPECT_EQ(get_text("cell A2"), "hello");

    pf::AEDesc rows;
    ASSERT_EQ(get("value of range A1:C1", &rows), pf::noErr);
    ASSERT_EQ(rows.kind, pf::AEDescKind::list);
    ASSERT_EQ(rows.items.size(), 1u);
    EXPECT_EQ(rows.items[0].items.size(), 3u);

    EXPECT_EQ(GetClickCell(front_layer()), (CellPoint{0, 0})) << "the selection stays where it was";
    DoUndo(GetWorkSheet(front_layer()));
    EXPECT_EQ(get_text("value of cell A2"), "") << "each entry is an undo step, as typing makes";

    // An error reads as the text the cell shows, one held as an infinity too.
    ASSERT_EQ(set("formula of cell D1", "=1/0"), pf::noErr);
    pf::AEDesc error;
    ASSERT_EQ(get("value of cell D1", &error), pf::noErr);
    EXPECT_EQ(error.type, pf::kTypeText);
    EXPECT_EQ(std::string(error.data.begin(), error.data.end()), "#DIV/0!");
}

TEST_F(ObjectModel, DocumentsLayersAndCellsAreCountedAndCreated) {
    EXPECT_EQ(count("", pf::kClassDocument), 1);
    EXPECT_EQ(count("document 1", pf::kClassLayer), 1);
    EXPECT_EQ(count("layer 1 of document 1", pf::kClassCell), 0);
    set("value of cell A1", "1");
    set("value of cell D9", "x");
    EXPECT_EQ(count("layer 1 of document 1", pf::kClassCell), 2);
    EXPECT_EQ(count("range A1:C4", pf::kClassCell), 12);

    pf::AppleEvent layer = event("core", "crel");
    pf::ae_put_param_ptr(layer, pf::kKeyClass, pf::kTypeType, &pf::kClassLayer, 4);
    pf::ae_put_param_desc(layer, pf::kKeyInsertHere, object("document 1"));
    ASSERT_EQ(send(layer), pf::noErr);
    run_until_idle();
    EXPECT_EQ(count("document 1", pf::kClassLayer), 2);

    pf::AppleEvent document = event("core", "crel");
    pf::ae_put_param_ptr(document, pf::kKeyClass, pf::kTypeType, &pf::kClassDocument, 4);
    ASSERT_EQ(send(document), pf::noErr);
    run_until_idle();
    EXPECT_EQ(count("", pf::kClassDocument), 2);
    EXPECT_EQ(get_text("value of cell A1 of layer 1 of document 2"), "1") << "the first document is now behind";
}

TEST_F(ObjectModel, TestsPickTheCellsWhoseValuesCompare) {
    set("value of cell A1", "1");
    set("value of cell B1", "5");
    set("formula of cell C1", "=A1+B1");
    set("value of cell A2", "Apple pie");
    set("value of cell E9", "9");
    pf::AEDesc picked;
    ASSERT_EQ(get("value of cells whose value > 2 of range A1:C3", &picked), pf::noErr);
    ASSERT_EQ(picked.items.size(), 2u) << "B1 and C1; E9 lies outside";
    EXPECT_EQ(count("cells whose value >= 1 of layer 1", pf::kClassCell), 4) << "texts are not greater than numbers";
    EXPECT_EQ(count("cells whose value contains \"PIE\" of document 1", pf::kClassCell), 1);
    EXPECT_EQ(count("cells whose formula = \"=A1+B1\" of document 1", pf::kClassCell), 1);
    EXPECT_EQ(count("cells whose value < \"b\" of range A1:A9", pf::kClassCell), 1) << "texts order by their letters";

    ASSERT_EQ(set("value of cells whose value = 9", "10"), pf::noErr);
    EXPECT_EQ(get_text("value of cell E9"), "10");
}

// Texts of every script compare as Unicode, in the order the sheet's
// formulas give them: each test picks the cells of one script that a formula
// comparing the same cell with the same text finds true; a text in runs of
// two scripts compares by its letters; "=" and "contains" ignore case.
TEST_F(ObjectModel, TestsCompareTextsOfEveryScriptAsFormulasDo) {
    const std::vector<std::string> texts = {
        "\u041b\u043e\u043d\u0434\u043e\u043d", "\u041c\u043e\u0441\u043a\u0432\u0430",
        "\u0395\u03bb\u03bb\u03ac\u03b4\u03b1", "\u6771\u4eac\u90fd\u5e81\u30d3\u30eb",
        "\u0141\u00f3d\u017a", "\u0160\u00f3d\u017e", "Paris", "caf\u00e9", "\ud55c\uad6d\uc5b4", "Zurich",
        "\u010caj \u2013 \u039a\u03b1\u03c6\u03ad\u03c2"};
    const int rows = int(texts.size());
    const int one_script = rows - 1;  // a formula reads the last in one script, "?" for what it lacks
    const std::string cells = "of range A1:A" + std::to_string(rows);
    for (int i = 0; i < rows; ++i) ASSERT_EQ(set("value of cell A" + std::to_string(i + 1), texts[size_t(i)]), pf::noErr);

    const std::vector<std::string> literals = {"\u042f", "\u041c\u043e\u0441\u043a\u0432\u0430", "\u0141\u00f3d\u017a",
                                               "\u6771\u4eac", "\u0395\u03bb\u03bb\u03ac\u03b4\u03b1", "c", "Paris",
                                               "\u010d", "\ud55c"};
    for (const std::string& literal : literals)
        for (const char* op : {"=", "<", ">", "<=", ">="}) {
            int expected = 0;
            for (int i = 0; i < one_script; ++i) {
                const std::string formula = "=A" + std::to_string(i + 1) + op + "\"" + literal + "\"";
                ASSERT_EQ(set("formula of cell B1", formula), pf::noErr) << formula;
                expected += get_text("value of cell B1") != "0";
            }
            EXPECT_EQ(count("cells whose value " + std::string(op) + " \"" + literal + "\" of range A1:A" +
                                std::to_string(one_script),
                            pf::kClassCell),
                      expected)
                << op << " " << literal;
        }
    EXPECT_EQ(count("cells whose value = \"\u041c\u043e\u0441\u043a\u0432\u0430\" " + cells, pf::kClassCell), 1);
    EXPECT_EQ(count("cells whose value = \"\u043c\u043e\u0441\u043a\u0432\u0430\" " + cells, pf::kClassCell), 1)
        << "case is ignored";
    EXPECT_EQ(count("cells whose value contains \"\u041e\u0421\u041a\" " + cells, pf::kClassCell), 1);
    EXPECT_EQ(count("cells whose value contains \"\u00f3d\u017a\" " + cells, pf::kClassCell), 1);
    EXPECT_EQ(count("cells whose value contains \"\u039a\u0391\u03a6\" " + cells, pf::kClassCell), 1);
    EXPECT_EQ(count("cells whose formula = \"\u0141\u00f3d\u017a\" " + cells, pf::kClassCell), 1);
    const std::string tea = "\u010daj \u2013 \u03ba\u03b1\u03c6\u03ad\u03c2";
    EXPECT_EQ(count("cells whose value = \"" + tea + "\" " + cells, pf::kClassCell), 1);
    EXPECT_EQ(count("cells whose value > \"c\" " + cells, pf::kClassCell),
              count("cells whose value > \"c\" of range A1:A" + std::to_string(one_script), pf::kClassCell) + 1)
        << "\u010c comes after c";
    EXPECT_EQ(count("cells whose value < \"d\" " + cells, pf::kClassCell),
              count("cells whose value < \"d\" of range A1:A" + std::to_string(one_script), pf::kClassCell) + 1)
        << "and before d";

    ASSERT_EQ(set("value of cells whose value = \"\u041c\u043e\u0441\u043a\u0432\u0430\" " + cells, "Berlin"),
              pf::noErr);
    for (int i = 0; i < rows; ++i) {
        pf::AEDesc result;
        ASSERT_EQ(get("value of cell A" + std::to_string(i + 1), &result), pf::noErr);
        std::string utf8(result.data.begin(), result.data.end());
        if (result.type == pf::kTypeText) utf8 = pf::mac_roman_to_utf8(utf8);
        EXPECT_EQ(utf8, i == 1 ? "Berlin" : texts[size_t(i)]) << i;
    }
}

TEST_F(ObjectModel, SelectingARangeSelectsItInItsLayer) {
    pf::AppleEvent e = event("misc", "slct");
    pf::ae_put_param_desc(e, pf::kKeyDirectObject, object("range B2:C5 of document 1"));
    ASSERT_EQ(send(e), pf::noErr);
    CellRange selected;
    GetSelectRect(&selected, front_layer());
    EXPECT_EQ(selected, (CellRange{{1, 1}, {4, 2}}));
    EXPECT_EQ(get_text("name of document 1"), "Untitled 1");
    EXPECT_EQ(get_text("name of window 1"), "Untitled 1:Layer 1");
    EXPECT_EQ(get_text("name of layer \"layer 1\" of document \"untitled 1\""), "Layer 1")
        << "names are matched ignoring case";

    pf::AEDesc exists;
    pf::AppleEvent ask = event("core", "doex");
    pf::ae_put_param_desc(ask, pf::kKeyDirectObject, object("document 7"));
    ASSERT_EQ(send(ask, &exists), pf::noErr);
    EXPECT_EQ(exists.data, std::vector<uint8_t>{0});
}

// Selecting a layer, or a range of one, that no window shows brings the layer
// up in its document's window with the range selected.
TEST_F(ObjectModel, SelectingInALayerNoWindowShowsBringsItUp) {
    pf::AppleEvent layer = event("core", "crel");
    pf::ae_put_param_ptr(layer, pf::kKeyClass, pf::kTypeType, &pf::kClassLayer, 4);
    pf::ae_put_param_desc(layer, pf::kKeyInsertHere, object("document 1"));
    ASSERT_EQ(send(layer), pf::noErr);
    run_until_idle();
    ASSERT_EQ(get_text("name of window 1"), "Untitled 1:Layer 2");

    pf::AppleEvent range = event("misc", "slct");
    pf::ae_put_param_desc(range, pf::kKeyDirectObject, object("range B2:C3 of layer 1 of document 1"));
    ASSERT_EQ(send(range), pf::noErr);
    run_until_idle();
    EXPECT_EQ(get_text("name of window 1"), "Untitled 1:Layer 1");
    EXPECT_EQ(document_window_count(), 1) << "shown in the document's window, not a new one";
    CellRange selected;
    GetSelectRect(&selected, front_layer());
    EXPECT_EQ(selected, (CellRange{{1, 1}, {2, 2}}));

    pf::AppleEvent second = event("misc", "slct");
    pf::ae_put_param_desc(second, pf::kKeyDirectObject, object("layer 2 of document 1"));
    ASSERT_EQ(send(second), pf::noErr);
    run_until_idle();
    EXPECT_EQ(get_text("name of window 1"), "Untitled 1:Layer 2");
}

// While an entry is being typed, no request moves the selection or the active
// layer under it: the entry goes on into the cell it was begun in.
TEST_F(ObjectModel, RequestsThatMoveTheSelectionWaitForTheEntry) {
    const std::string why = "A cell is being edited; finish the entry first.";
    ASSERT_EQ(set("value of cell C5 of document 1", "keep me"), pf::noErr);
    pf::driver_type("hello");
    run_until_idle();
    ASSERT_TRUE(entry_line_editing());

    for (const char* target : {"cell C5 of layer 1 of document 1", "range B2:C3 of document 1", "layer 1 of document 1",
                               "document 1", "window 1"}) {
        pf::AppleEvent select = event("misc", "slct");
        pf::ae_put_param_desc(select, pf::kKeyDirectObject, object(target));
        EXPECT_EQ(reason(select, pf::kAEEventFailedErr), why) << target;
    }
    pf::AppleEvent layer = event("core", "crel");
    pf::ae_put_param_ptr(layer, pf::kKeyClass, pf::kTypeType, &pf::kClassLayer, 4);
    pf::ae_put_param_desc(layer, pf::kKeyInsertHere, object("document 1"));
    EXPECT_EQ(reason(layer, pf::kAEEventFailedErr), why);
    EXPECT_EQ(count("document 1", pf::kClassLayer), 1) << "no layer was added";
    EXPECT_EQ(get_text("value of cell C5 of document 1"), "keep me") << "reading goes on while typing";
    CellRange selected;
    GetSelectRect(&selected, front_layer());
    EXPECT_EQ(selected, (CellRange{{0, 0}, {0, 0}}));

    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    run_until_idle();
    EXPECT_EQ(get_text("value of cell A1 of document 1"), "hello");
    EXPECT_EQ(get_text("value of cell C5 of document 1"), "keep me");

    pf::AppleEvent select = event("misc", "slct");
    pf::ae_put_param_desc(select, pf::kKeyDirectObject, object("cell C5 of document 1"));
    EXPECT_EQ(send(select), pf::noErr) << "once the entry is stored, a script selects again";
}

TEST_F(ObjectModel, BadReferencesMissingParametersAndBadDataAreRefused) {
    pf::AEDesc result;
    EXPECT_EQ(get("value of cell ZZZZZ99 of document 1", &result), pf::kAENoSuchObjectErr);
    EXPECT_EQ(get("value of cell B2 of document 3", &result), pf::kAENoSuchObjectErr);
    EXPECT_EQ(get("value of cell B2 of layer 9", &result), pf::kAENoSuchObjectErr);
    EXPECT_EQ(get("value of cell A1:B2", &result), pf::kAENoSuchObjectErr) << "a cell is one cell";

    pf::AppleEvent no_data = event("core", "setd");
    pf::ae_put_param_desc(no_data, pf::kKeyDirectObject, object("cell A1"));
    EXPECT_EQ(send(no_data), pf::kAEDescNotFoundErr);

    pf::AppleEvent extra = event("core", "getd");
    pf::ae_put_param_desc(extra, pf::kKeyDirectObject, object("cell A1"));
    pf::ae_put_param_ptr(extra, pf::four_cc("xtra"), pf::kTypeLong, "\0\0\0\1", 4);
    EXPECT_EQ(send(extra), pf::kAEParamMissedErr);

    pf::AppleEvent record_data = event("core", "setd");
    pf::ae_put_param_desc(record_data, pf::kKeyDirectObject, object("cell A1"));
    pf::AEDesc record;
    pf::ae_create_list(true, record);
    pf::ae_put_key_ptr(record, pf::four_cc("abcd"), pf::kTypeLong, "\0\0\0\1", 4);
    pf::ae_put_param_desc(record_data, pf::kKeyNewData, record);
    EXPECT_EQ(send(record_data), pf::kAECoercionFailErr);

    EXPECT_EQ(set("formula of cell A1", "=SUM(("), pf::kAEEventFailedErr);
    EXPECT_EQ(get_text("formula of cell A1"), "") << "a refused entry changes nothing";

    pf::driver_type("7");
    run_until_idle();
    EXPECT_EQ(set("value of cell B5", "1"), pf::kAEEventFailedErr) << "not while an entry is being typed";
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    run_until_idle();
    EXPECT_EQ(get_text("value of cell A1"), "7") << "the typed entry went where it was typed";
    EXPECT_EQ(get_text("value of cell B5"), "");

    pf::AppleEvent not_spec = event("core", "getd");
    pf::ae_put_param_ptr(not_spec, pf::kKeyDirectObject, pf::kTypeLong, "\0\0\0\1", 4);
    EXPECT_EQ(send(not_spec), pf::kAENotAnObjSpecErr);
}

// Every failed request says why in its reply, not only with a number.
TEST_F(ObjectModel, EveryRefusalGivesItsReason) {
    EXPECT_EQ(reason(get_event("value of cell B2 of document 3"), pf::kAENoSuchObjectErr),
              "No such object: the document, window, layer or cell named does not exist.");
    EXPECT_EQ(reason(set_event("name of document 1", "Budget"), pf::kAENotModifiableErr),
              "That object or property cannot be changed.");
    pf::AppleEvent not_spec = event("core", "getd");
    pf::ae_put_param_ptr(not_spec, pf::kKeyDirectObject, pf::kTypeLong, "\0\0\0\1", 4);
    EXPECT_EQ(reason(not_spec, pf::kAENotAnObjSpecErr), "The request names no object.");
    EXPECT_EQ(reason(event("core", "none"), pf::kAEEventNotHandledErr), "Quorvin does not carry out this request.");
    EXPECT_EQ(refusal("formula of cell D1", "=SUM(("), "A closing parenthesis is missing, or there are too many arguments.")
        << "a handler's own reason is kept";
}

// A range too large to read or set at once is refused with its reason, and
// nothing of it is set.
TEST_F(ObjectModel, ATooLargeRangeIsRefusedWithItsReason) {
    const std::string why = "The range holds more than 100000 cells, too many to read or set at once; ask for a smaller range.";
    EXPECT_EQ(reason(get_event("value of range A1:Z9999 of document 1"), pf::kAEEventFailedErr), why);
    pf::AppleEvent size = event("core", "dsiz");
    pf::ae_put_param_desc(size, pf::kKeyDirectObject, object("value of range A1:Z9999 of document 1"));
    EXPECT_EQ(reason(size, pf::kAEEventFailedErr), why);
    EXPECT_EQ(refusal("value of range A1:Z9999 of document 1", "1"), why);
    EXPECT_EQ(get_text("value of cell A1 of document 1"), "");
    EXPECT_EQ(count("document 1", pf::kClassCell), 0);
}

// A cell set by a script while it is the active cell shows its new content in
// the entry line at once.
TEST_F(ObjectModel, SettingTheActiveCellShowsItInTheEntryLine) {
    auto entry_line = [] {
        unsigned char text[256];
        const int32_t length = entry_text(text, sizeof text);
        return std::string(reinterpret_cast<const char*>(text), size_t(length));
    };
    ASSERT_EQ(set("formula of cell A1 of document 1", "=1+2"), pf::noErr);
    run_until_idle();
    EXPECT_EQ(entry_line(), "=1+2");
    ASSERT_EQ(set("value of range A1:B2 of document 1", "hello"), pf::noErr);
    run_until_idle();
    EXPECT_EQ(entry_line(), "hello");
    ASSERT_EQ(set("value of cell B1 of document 1", "other"), pf::noErr);
    run_until_idle();
    EXPECT_EQ(entry_line(), "hello") << "the entry line stays on the active cell";
}

TEST_F(ObjectModel, ARefusedEntryGivesItsRealReason) {
    EXPECT_EQ(refusal("value of cell A1", std::string(33000, 'x')), "This entry is longer than a cell can hold.");
    ASSERT_EQ(set("formula of cell B1", "=C1+1"), pf::noErr);
    EXPECT_EQ(refusal("formula of cell C1", "=B1*2"), "This formula would refer to its own cell.");
    EXPECT_EQ(refusal("formula of cell D1", "=SUM("), "A closing parenthesis is missing, or there are too many arguments.")
        << "typed as far as the open parenthesis";
    EXPECT_EQ(refusal("formula of cell D1", "=SUM(Q1Q)"), "The formula holds a name or symbol that is not known.");
    EXPECT_EQ(get_text("value of cell A1"), "");
    EXPECT_EQ(get_text("formula of cell C1"), "");
}

// Text of other scripts set by a script keeps its script and is read back
// in UTF-8; Roman text goes on answering in Mac Roman, as clients of Mac
// Roman read it; what no installed script spells is refused.
TEST_F(ObjectModel, TextsOfOtherScriptsGoInAndComeOutInUtf8) {
    ASSERT_EQ(set("value of cell A1", "\u6771\u4eac"), pf::noErr);
    uint8_t* cell = nullptr;
    int16_t length = 0;
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{0, 0}, front_layer()));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(_formulaPtr_(cell)), size_t(_formulaLength_(cell))),
              "\x93\x8C\x8B\x9E");
    EXPECT_EQ(format_font(cell), uint16_t(pf::script_font(pf::kScriptJapanese)));
    for (const char* property : {"value of cell A1", "formula of cell A1"}) {
        pf::AEDesc result;
        ASSERT_EQ(get(property, &result), pf::noErr);
        EXPECT_EQ(result.type, pf::kTypeUtf8Text) << property;
        EXPECT_EQ(std::string(result.data.begin(), result.data.end()), "\u6771\u4eac") << property;
    }

    pf::AppleEvent roman = event("core", "setd");
    pf::ae_put_param_desc(roman, pf::kKeyDirectObject, object("value of cell B1"));
    pf::ae_put_param_ptr(roman, pf::kKeyNewData, pf::kTypeText, "caf\x8E", 4);
    ASSERT_EQ(send(roman), pf::noErr);
    ASSERT_EQ(set("value of cell C1", "na\u00efve"), pf::noErr);
    for (auto [property, text] : {std::pair<const char*, const char*>{"value of cell B1", "caf\x8E"},
                                  {"value of cell C1", "na\x95ve"}}) {
        pf::AEDesc result;
        ASSERT_EQ(get(property, &result), pf::noErr);
        EXPECT_EQ(result.type, pf::kTypeText) << property;
        EXPECT_EQ(std::string(result.data.begin(), result.data.end()), text) << property;
    }

    EXPECT_EQ(refusal("value of cell D1", "a\u0e44\u0e17"),
              "No installed script spells these characters: U+0E44 U+0E17");
    EXPECT_EQ(get_text("value of cell D1"), "");
    // Each character spelled by some script, but not all by one: kept in runs
    // of two scripts, as typed text is.
    ASSERT_EQ(set("value of cell D1", "\u0395\u03bb\u03bb\u03ac\u03b4\u03b1 \u010cesko"), pf::noErr);
    for (const char* property : {"value of cell D1", "formula of cell D1"}) {
        pf::AEDesc result;
        ASSERT_EQ(get(property, &result), pf::noErr);
        EXPECT_EQ(result.type, pf::kTypeUtf8Text) << property;
        EXPECT_EQ(std::string(result.data.begin(), result.data.end()), "\u0395\u03bb\u03bb\u03ac\u03b4\u03b1 \u010cesko")
            << property;
    }
}

// A text set over a cell of another script is read back as it was given:
// the cell's font follows the text, whatever script the cell held before,
// through the value and the formula alike, and over a cleared cell.
TEST_F(ObjectModel, ANewTextTakesTheScriptItIsSpelledIn) {
    const struct {
        const char* before;
        const char* after;
    } cases[] = {{"москва", "café crème"},
                 {"東京", "café crème"},
                 {"한국", "naïve résumé"},
                 {"café", "москва"},
                 {"Ελλάδα", "Česko"}};
    for (const char* property : {"value", "formula"}) {
        for (const auto& c : cases) {
            const std::string cell = std::string(property) + " of cell A1";
            ASSERT_EQ(set(cell, c.before), pf::noErr) << c.before;
            ASSERT_EQ(set(cell, c.after), pf::noErr) << c.after;
            pf::AEDesc result;
            ASSERT_EQ(get("value of cell A1", &result), pf::noErr);
            std::string utf8(result.data.begin(), result.data.end());
            if (result.type == pf::kTypeText) utf8 = pf::mac_roman_to_utf8(utf8);
            EXPECT_EQ(utf8, c.after) << property << " over " << c.before;
        }
    }
    ASSERT_EQ(set("value of cell B1", "東京"), pf::noErr);
    LSelect(CellPoint{0, 1}, nullptr, nullptr, 0, front_layer());
    ASSERT_EQ(Do_Clear(0, front_layer()), kEditDone);
    ASSERT_EQ(set("value of cell B1", "café"), pf::noErr);
    EXPECT_EQ(get_text("value of cell B1"), "caf\x8E");
}

TEST_F(ObjectModel, CellsTakeTheirValuesWhileAChartIsSelected) {
    set("value of cell A1", "1");
    set("value of cell A2", "2");
    MemoryRef layer = front_layer();
    select_cells(layer, CellRange{{0, 0}, {1, 0}});
    MakeChartWindow();
    DoChartMenu(nullptr, 15 - kFirstChartTool + 1);
    pf::driver_click(inside(nth_document_window(1), 120, 300));
    run_until_idle();
    MemoryRef chart = get_selected_object(layer, 1);
    ASSERT_NE(chart, nullptr);
    ASSERT_NE(object_chart(chart), nullptr);

    ASSERT_EQ(set("value of cell A2", "5"), pf::noErr) << "the text goes to the cell, not to the chart's range";
    EXPECT_EQ(get_text("value of cell A2"), "5");
    CellRange range{};
    int16_t source = 0;
    ASSERT_TRUE(GetChart_Data(chart, &range, &source));
    EXPECT_EQ(range, (CellRange{{0, 0}, {1, 0}}));
    EXPECT_EQ(get_selected_object(layer, 1), chart) << "the chart stays selected";
}

TEST_F(ObjectModel, WindowsWithoutTasksHaveNoLayer) {
    EXPECT_EQ(sheetRefFromWindow(nullptr), nullptr);
    EXPECT_EQ(sheetRefFromWindow(command_bar_window()), nullptr);
    EXPECT_NE(sheetRefFromWindow(nth_document_window(1)), nullptr);
}

}  // namespace
