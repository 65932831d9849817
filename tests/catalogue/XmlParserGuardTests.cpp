#include "catalogue/XmlParserGuard.h"

#include <gtest/gtest.h>

TEST (XmlParserGuard, EveryCompleteProcessingInstructionBecomesABlank)
{
    EXPECT_EQ (XmlParserGuard::safeText ("<?xml version=\"1.0\"?>\n<Config><?pi a?>text</Config>"),
               " \n<Config> text</Config>\n");
}

TEST (XmlParserGuard, UnterminatedInstructionIsLeftForTheParserToReject)
{
    EXPECT_EQ (XmlParserGuard::safeText ("<Config><?a?><?pi"), "<Config> <?pi\n");
}

TEST (XmlParserGuard, BytesAroundARemovedInstructionDoNotJoinIntoANewOne)
{
    EXPECT_EQ (XmlParserGuard::safeText ("<<?a?>?b?>"), "< ?b?>\n");
}

TEST (XmlParserGuard, DocumentTypeDeclarationIsWrittenInLowerCaseWhereverItStands)
{
    EXPECT_EQ (XmlParserGuard::safeText ("<!DOCTYPE C [<!ENTITY a \"b\">]><C><!DOCTYPE/></C>"),
               "<!doctype C [<!ENTITY a \"b\">]><C><!doctype/></C>\n");
}

TEST (XmlParserGuard, TextOutsideAsciiIsKept)
{
    const auto text = juce::String::fromUTF8 ("<a n=\"R\xc3\xa9verb \xe6\x97\xa5\"/>");

    EXPECT_EQ (XmlParserGuard::safeText (text), text + "\n");
}
