// The automation layer: wide strings, the late-bound call and the class registry.

#include "automation/ClassRegistry.h"
#include "automation/InvokeMember.h"
#include "automation/WideString.h"

#include <gtest/gtest.h>

#include <vector>

namespace wordstrip {
namespace {

TEST(WideString, AnyByteStringSurvivesTheRoundTrip)
{
    for (const std::string& s : {std::string("plain.doc"), std::string("Книга ёлка.doc"), std::string("emoji \xF0\x9F\x93\x96"),
                                std::string("caf\xE9.doc"), std::string("\xC0\x80 overlong"), std::string("\xED\xA0\x80 surrogate"),
                                std::string("cut \xE2\x82"), std::string("\xFF\xFE")}) {
        SCOPED_TRACE(s);
        EXPECT_EQ(NarrowString(WidenString(s)), s);
    }
    EXPECT_EQ(WidenString("Жa"), u"Жa");
    EXPECT_EQ(WidenString("\xF0\x9F\x93\x96"), u"\U0001F4D6");
}

// Captures what arrives at the object.
class CapturingObject : public DispatchObject {
public:
    HRESULT GetIdOfName(std::string_view name, DispId& id) override
    {
        if (name != "Member") return DISP_E_UNKNOWNNAME;
        id = 7;
        return S_OK;
    }
    HRESULT Invoke(DispId id, CallKind kind, std::span<const Variant> args, Variant* result) override
    {
        lastId = id;
        lastKind = kind;
        lastArgs.assign(args.begin(), args.end());
        resultWasCleared = result && std::holds_alternative<std::monostate>(*result);
        if (result) *result = std::int32_t{42};
        return 0x00000001; // a success code other than S_OK comes back unchanged
    }
    DispId lastId = -1;
    CallKind lastKind = CallKind::Method;
    std::vector<Variant> lastArgs;
    bool resultWasCleared = false;
};

TEST(InvokeMember, ArgumentsFollowTheirTypeLetters)
{
    CapturingObject object;
    Variant result = true;
    EXPECT_EQ(InvokeMember(object, CallKind::Method, "Member", &result, "sSSbi",
                           {std::string_view("Файл.doc"), std::u16string_view(u"wide"), nullptr, false, std::int32_t{-66}}),
              0x00000001u);
    EXPECT_TRUE(object.resultWasCleared);
    EXPECT_EQ(result, Variant(std::int32_t{42}));
    EXPECT_EQ(object.lastId, 7);
    ASSERT_EQ(object.lastArgs.size(), 5u);
    EXPECT_EQ(object.lastArgs[0], Variant(WideText{u"Файл.doc"}));
    EXPECT_EQ(object.lastArgs[1], Variant(WideText{u"wide"}));
    EXPECT_EQ(object.lastArgs[2], Variant(WideText{})); // a null string, not an empty one
    EXPECT_NE(object.lastArgs[2], Variant(WideText{u""}));
    EXPECT_EQ(object.lastArgs[3], Variant(false));
    EXPECT_EQ(object.lastArgs[4], Variant(std::int32_t{-66}));
}

TEST(InvokeMember, FailuresBeforeTheCall)
{
    CapturingObject object;
    EXPECT_EQ(InvokeMember(object, CallKind::Method, "Other", nullptr), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(InvokeMember(object, CallKind::Method, "Member", nullptr, "i", {true}), E_INVALIDARG);
    EXPECT_EQ(InvokeMember(object, CallKind::Method, "Member", nullptr, "ii", {std::int32_t{1}}), E_INVALIDARG);
    EXPECT_EQ(InvokeMember(object, CallKind::Method, "Member", nullptr, "x", {std::int32_t{1}}), E_INVALIDARG);
    EXPECT_EQ(InvokeMember(object, CallKind::PropertyPut, "Member", nullptr, "ii", {std::int32_t{1}, std::int32_t{2}}),
              E_INVALIDARG);
    EXPECT_EQ(object.lastId, -1); // none of them reached the object
}

TEST(ClassRegistry, ProgramIdentifiers)
{
    const ClassRegistry registry = MakeStandardClassRegistry();
    ClassId id = 0;
    EXPECT_EQ(registry.ClassIdFromProgId("No.Such", id), CO_E_CLASSSTRING);
    // Making a "Word.Application" starts the office: the office tests do that.
    EXPECT_EQ(registry.ClassIdFromProgId("word.application", id), S_OK);
    std::shared_ptr<DispatchObject> instance;
    ASSERT_EQ(registry.ClassIdFromProgId("Recording.Application", id), S_OK);
    EXPECT_EQ(registry.CreateInstance(id, instance), S_OK);
    ASSERT_NE(instance, nullptr);
    Variant documents;
    EXPECT_EQ(InvokeMember(*instance, CallKind::PropertyGet, "documents", &documents), S_OK);
    EXPECT_NE(AsObject(documents), nullptr);
    EXPECT_EQ(InvokeMember(*instance, CallKind::Method, "NoSuchMember", nullptr), DISP_E_UNKNOWNNAME);
}

} // namespace
} // namespace wordstrip
