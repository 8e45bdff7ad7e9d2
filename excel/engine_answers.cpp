#include "excel/engine_answers.h"

#include "core/foundation_services.h"
#include "excel/excel_import.h"
#include "files/document_prompts.h"
#include "files/file_formats.h"
#include "files/text_exchange.h"
#include "formula/formula_text.h"
#include "formula/recalc.h"
#include "model/model_services.h"
#include "model/undo_fields.h"

void install_engine_answers() {
    foundation_services.dispose_undo = DisposeUndo;
    model_services.formula_text = Interpret;
    model_services.stop_requested = reading_stopped;
    model_services.report_error = report_file_error;
    model_services.restart_calculation = ResetCalc;
    register_workbook_import(WorkbookImport{is_excel_head, ReadExcelFile});
}

namespace {

// Answered before main, in every program linked with the engine.
const bool kAnswered = (install_engine_answers(), true);

}  // namespace
