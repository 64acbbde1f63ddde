#pragma once

// The registration script: registry keys and string values written when the server is
// registered and removed when it is unregistered, in this text form:
//
//     HKCR
//     {
//         NoRemove CLSID
//         {
//             ForceRemove %CLSID% = s 'DunmoreExt Class'
//             {
//                 InprocServer32 = s '%MODULE%'
//                 {
//                     val ThreadingModel = s 'Apartment'
//                 }
//             }
//         }
//     }
//
// A key is a bare word or a quoted name, optionally marked Shared (a key that the 32- and
// 64-bit registry views share, removed at unregistration only when the caller says so),
// then optionally ForceRemove (deleted with all its subkeys before it is written),
// NoRemove (kept at unregistration) or Claim (a key whose default value names one handler
// among several programs': it is written only where no other program's value is there, and
// at unregistration only the script's own value goes, the key with it when nothing else is
// in it), optionally followed by
// "= s 'text'" for its default value and by a block of named values ("val Name = s 'text'")
// and subkeys. Quoted text doubles a quote to hold one. %NAME% in names and values is
// replaced by the caller's replacement of that name; %% stands for one percent sign.
// Only string values are supported: they are all this server registers.

#include <map>
#include <string>
#include <string_view>
#include <vector>

enum class KeyMark { None, ForceRemove, NoRemove, Claim };

struct ScriptValue {
    std::string name;  // empty for the key's default value
    std::string data;
};

struct ScriptKey {
    std::string name;
    KeyMark mark = KeyMark::None;
    bool shared = false;
    std::vector<ScriptValue> values;
    std::vector<ScriptKey> subkeys;
};

struct ScriptRoot {
    std::string name;  // the hive's short name, as written: HKCR, HKCU or HKLM
    std::vector<ScriptKey> keys;
};

struct ScriptParseResult {
    bool ok = false;
    std::string error;  // "line N: ..." when !ok
    std::vector<ScriptRoot> roots;
};

ScriptParseResult ParseRegistrationScript(std::string_view text,
                                          const std::map<std::string, std::string>& replacements);
