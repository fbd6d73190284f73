// Stand-in for the message box and the window station: boxes are recorded
// and answered in the order a test gives (then OK), logged as "MessageBoxA
// caption" so that a box can be failed (the answer is then 0, as Windows
// gives); the session is seen unless the test says otherwise.
#include "system/message_box.h"

#include "tests/stand_ins/stand_ins.h"

namespace {

std::vector<stand_in::MessageBoxShown> boxes;
std::vector<int> answers;
bool station_visible;

fake::ResetHook boxes_reset([] {
    boxes.clear();
    answers.clear();
    station_visible = true;
});

}  // namespace

int ShowMessageBox(const char* text, const char* caption, UINT style) {
    fake::LogCall("MessageBoxA", caption ? caption : "");
    if (DWORD error = fake::InjectedFailure("MessageBoxA", caption ? caption : "")) {
        SetLastError(error);
        return 0;
    }
    boxes.push_back({text ? text : "", caption ? caption : "", style});
    if (answers.empty()) return IDOK;
    int answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

bool SomeoneCanSeeBoxes() {
    fake::LogCall("SomeoneCanSeeBoxes", "");
    return station_visible;
}

namespace stand_in {

void AnswerMessageBoxes(const std::vector<int>& in_order) { answers = in_order; }
void SetWindowStationVisible(bool visible) { station_visible = visible; }
const std::vector<MessageBoxShown>& MessageBoxes() { return boxes; }

}  // namespace stand_in
