#include "platform/vbscript/RegExpComponent.h"

#include "platform/com/ClassRegistry.h"
#include "platform/com/TypeLibraryRegistry.h"
#include "platform/vbscript/private/Identifiers.h"
#include "platform/vbscript/private/MatchResults.h"
#include "platform/vbscript/private/RegExpObject.h"

namespace vellumry::vbscript {
namespace {

HRESULT CreateRegExp(REFIID riid, void** object)
{
    return com::MakeObject<RegExpObject>()->QueryInterface(riid, object);
}

const com::LibraryDescription& Library()
{
    static const com::ClassDescription regExpClass{u"RegExp", kRegExpClassId, {&RegExpObject::Table().Description()}};
    static const com::LibraryDescription library{
        u"VBScript_RegExp_55",
        kRegExpLibraryId,
        5,
        5,
        {&RegExpObject::Table().Description(), &Match::Table().Description(), &MatchCollection::Table().Description(),
         &SubMatchCollection::Table().Description()},
        {&regExpClass},
    };
    return library;
}

}  // namespace

void RegisterRegExpComponent()
{
    com::RegisterComClass({u"VBScript.RegExp", kRegExpClassId, &CreateRegExp});
    com::RegisterComClass({u"VBScript.RegExp.5.5", kRegExpClassId, &CreateRegExp});
    com::RegisterBuiltinTypeLibrary(u"vbscript.dll", 3, Library());
}

}  // namespace vellumry::vbscript
