// Start-up of the calculation library: its globals and the machine record.
#include "model/calc_globals.h"

#include <cstring>
#include <vector>

#include "core/number_text.h"
#include "model/program_colours.h"
#include "platform/resources/resources.h"
#include "platform/system/international.h"

MachineRecord quorvin_rsrv;

uint8_t WordArray[kFunctionCount][kFunctionNameSize];
unsigned char currSym1 = '$', decimalPt = '.', thousSep = ',', dateSep = '/', listSep = ',';
int16_t dateOrder = 0;
double g_zero = 0.0, g_TextErr = 0.0, g_StdErr = 0.0;

namespace {

constexpr int16_t kTextErrorCode = 17;
constexpr int16_t kValueErrorCode = 21;

// Entry `number` of the function-name string list into a 12-byte slot; a
// missing item leaves the slot empty.
void load_function_name(int number, uint8_t* slot) {
    pf::Str255 name;
    pf::get_indexed_string(name, kFunctionNamesStrList, number);
    slot[0] = name[0] < kFunctionNameSize ? name[0] : kFunctionNameSize - 1;
    std::memcpy(slot + 1, name + 1, slot[0]);
}

void load_function_names() {
    std::memset(WordArray, 0, sizeof WordArray);
    for (int i = 0; i < kFunctionCount; ++i) load_function_name(i + 1, WordArray[i]);
}

void apply_international_settings() {
    const pf::IntlSettings& system = pf::international_settings();
    decimalPt = static_cast<unsigned char>(system.decimal_point);
    thousSep = static_cast<unsigned char>(system.thousands_separator);
    dateSep = static_cast<unsigned char>(system.date_separator);
    currSym1 = system.currency.empty() ? '$' : static_cast<unsigned char>(system.currency[0]);
    dateOrder = system.date_order;
    // Formulas keep "," between arguments unless the system's number
    // punctuation leaves it free.
    listSep = ',';
    if (decimalPt != '.' && thousSep != ',') listSep = static_cast<unsigned char>(system.list_separator);
}

}  // namespace

void Init_Quorvin_Globals() {
    load_function_names();
    apply_international_settings();
    g_zero = 0.0;
    g_TextErr = N_AN(kTextErrorCode);
    g_StdErr = N_AN(kValueErrorCode);
    init_rand();
}

int16_t Default_Alert(int32_t) { return 0; }
void DefaultWaitProc(MemoryRef, int32_t, int32_t, int32_t) {}
void DefaultDisplaySelection(const CellRange*) {}
void DefaultDisplayRange(MemoryRef) {}
void DefaultDisplaySize(int32_t) {}
void Default_Object__msg(int32_t, int32_t) {}
int16_t DefaultClickLoop(void*, int16_t, pf::Point) { return 0; }
void DefaultCellsScrolled(MemoryRef) {}

void QuorvinInit(MachineRecord* machine, MemoryGlobals* memory) {
    MemoryRef workbooks = machine->workbooks;
    *machine = MachineRecord{};
    machine->workbooks = workbooks;
    machine->memory = memory;
    machine->alert = Default_Alert;
    machine->wait = DefaultWaitProc;
    machine->display_selection = DefaultDisplaySelection;
    machine->display_range = DefaultDisplayRange;
    machine->display_size = DefaultDisplaySize;
    machine->object_message = Default_Object__msg;
    machine->click_loop = DefaultClickLoop;
    machine->cells_scrolled = DefaultCellsScrolled;
    qrvMachineInit(machine);
}

void qrvMachineInit(MachineRecord* machine) {
    static const uint8_t kSettings[12] = {128, 187, 0, 0, 0, 16, 0, 0, 16, 0, 0, 0};
    std::memcpy(machine->settings, kSettings, sizeof kSettings);
    machine->markers[0] = 0xFFFFFFFFu;
    machine->markers[1] = 65535;
    machine->marker_copies[0] = machine->markers[0];
    machine->marker_copies[1] = machine->markers[1];
    MemoryRef list = nullptr;
    int16_t error = with_failure_handler(machine->memory, [&] {
        list = pgAllocateNewRef(machine->memory, sizeof(MemoryRef), 0, 4, true);
    });
    machine->workbooks = list;
    if (error || !list) {
        machine->workbooks = DisposeNonNilFailedMemory(list);
        msFailure(machine->memory, kNoMemoryErr, nullptr);
    }
}

void msMachineShutdown(MachineRecord* machine) {
    DisposeNonNilMemory(machine->workbooks);
    machine->workbooks = nullptr;
}

void add_open_workbook(MachineRecord* machine, MemoryRef workbook) {
    PtrAndMemory(&workbook, machine->workbooks, 1);
}

void remove_open_workbook(MachineRecord* machine, MemoryRef workbook) {
    int32_t count = count_open_workbooks(machine);
    for (int32_t i = 0; i < count; ++i) {
        if (open_workbook_at(machine, i) == workbook) {
            DeleteMemory(machine->workbooks, i, 1);
            return;
        }
    }
}

int32_t count_open_workbooks(const MachineRecord* machine) {
    return machine->workbooks ? int32_t(GetMemorySize(machine->workbooks)) : 0;
}

MemoryRef open_workbook_at(const MachineRecord* machine, int32_t index) {
    MemoryRef workbook = nullptr;
    if (index >= 0 && index < count_open_workbooks(machine))
        GetMemoryRecord(machine->workbooks, index, &workbook);
    return workbook;
}

void engine_startup() {
    msMemStartup(&mem_globals, kNoCeiling);
    Init_Quorvin_Globals();
    install_program_colours();
}
