// How the stand-ins of the setup program's outside libraries and programs
// answer and show what they were asked. Every exported routine and every
// program start is one named question of the answer script
// (sys/answer_script.h): the question's name is the routine's or program's
// name, its detail the arguments, and the script's answer is the result.
// The answer-script log therefore lists every call in order:
//
//     question=SdFinish\tdetail=mode=12 os=9 model="VL-1200" ...\tanswer=15
//
// Records are shown by DescribeRecord (record_text.h). The questions, their
// answers and what an unanswered one gives:
//
//   VLEtc.Dll  SdBackGourndImage            window object token      0
//              SdBackGourndScreenUpdateRect number                   1
//              SdSetupType                  dialog number            6 (automatic)
//              SdMaintenance                dialog number            9 (repair)
//              SdLanguageAndComponent       dialog number            0 (go on)
//                .Language                  language abbreviation    the record's
//                .Selection                 component names, "|"     the record's
//              SdDeviceConnection           dialog number            0 first, 5 again
//              SdMaintenanceComponent       dialog number            0 (go on)
//                .Selection                 component names, "|"     the record's
//              SdFinish                     dialog number            0
//              SdCancel                     dialog number            4 (leave)
//   VLFcs.Dll  FileCopyAndSystempUpdate     0 refuses the work       1 (do it)
//                .Installer                 the installer's exit code  0
//   VLTtp.Dll  SdTeatPagePrinting           dialog number            0 (finish)
//   VLUtil.Dll RemoveHardwareWizardDialog, StartPreventPnP, EndPreventPnP,
//              SystemRefresh                number                   1
//              GetDevicePort                ports, "," between them;  none
//                                           -1 no USB host controller
//              MyAddPortMonitor             number                   1
//              GetDiskFreeSpaceVL           MB                       the disk's
//   Preinst.dll Preinstall                  number                   1
//   Svcman.exe, VLRemove.exe, NETSETUP.EXE  exit code                0
//   (NETSETUP's detail: folder="<its folder>" arguments="<arguments>")
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace outside {

// The script's answer to the call, or `fallback`; the call is logged.
std::string AskCall(std::string_view name, std::string_view arguments, std::string_view fallback);

// The same for a numeric answer: an answer that is no decimal number gives
// `fallback`.
int32_t AskCallNumber(std::string_view name, std::string_view arguments, int32_t fallback);

// A decimal number with an optional sign filling all of `text`.
bool ParseNumber(std::string_view text, int32_t* value);

}  // namespace outside
