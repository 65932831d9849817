#include <gtest/gtest.h>

#include "catalogue/TargetsFileParser.h"
#include "catalogue/XmlParseException.h"

namespace
{
    std::unique_ptr<TargetsInfo> parse (const juce::String& text)
    {
        juce::XmlDocument document (text);
        return parseTargetsFile (document);
    }

    juce::String parseError (const juce::String& text)
    {
        try
        {
            parse (text);
        }
        catch (const XmlParseException& e)
        {
            return juce::String::fromUTF8 (e.what());
        }

        ADD_FAILURE() << "no XmlParseException for: " << text;
        return {};
    }

    // One Calvio family holding the given product markup.
    juce::String inProduct (const juce::String& productMarkup)
    {
        return "<Config><Brand Name=\"Calvio\"><Family FamilyID=\"0x05\">" + productMarkup
             + "</Family></Brand></Config>";
    }

    const TargetProduct& onlyProduct (const TargetsInfo& catalogue)
    {
        EXPECT_EQ (catalogue.products.size(), 1);
        return *catalogue.products.getFirst();
    }

    std::int32_t productIdFor (const juce::String& text)
    {
        const auto catalogue = parse (inProduct ("<Product ProductID=\"" + text + "\"/>"));
        return onlyProduct (*catalogue).productId;
    }

    std::int32_t countFor (const juce::String& text)
    {
        const auto catalogue = parse (inProduct ("<Product><Ports><Port Name=\"P\" Count=\"" + text + "\"/></Ports></Product>"));
        return onlyProduct (*catalogue).ports.getFirst()->count;
    }

    void expectProduct (const TargetProduct& product, const char* name, std::int32_t productId,
                        std::int32_t updateProductId, std::int32_t familyId, TargetBrand brand, const char* pre)
    {
        EXPECT_EQ (product.name, name);
        EXPECT_EQ (product.productId, productId);
        EXPECT_EQ (product.updateProductId, updateProductId);
        EXPECT_EQ (product.familyId, familyId);
        EXPECT_EQ (product.brand, brand);
        EXPECT_EQ (product.specialPreInstructions, pre);
    }

    void expectRevision (const TargetRevision& revision, const char* version, const char* releaseDate,
                         const char* imageUrl, const char* releaseNotesUrl, const char* post)
    {
        EXPECT_EQ (revision.version, version);
        EXPECT_EQ (revision.releaseDate, releaseDate);
        EXPECT_EQ (revision.imageUrl, imageUrl);
        EXPECT_EQ (revision.releaseNotesUrl, releaseNotesUrl);
        EXPECT_EQ (revision.specialPostInstructions, post);
    }

    void expectPort (const TargetPort& port, const char* name, std::int32_t count)
    {
        EXPECT_EQ (port.name, name);
        EXPECT_EQ (port.count, count);
    }

    const char* const fullProduct = R"(
        <Product Name="Hall Reverb" ProductID="0x02" UpdateProductID="0x42"
                 SpecialPreInstructions="Hold BYPASS while powering on">
          <Revisions>
            <Revision Version="1.05" ReleaseDate="3 Mar 2025" ImageUrl="http://h/a.bin"
                      ReleaseNotesUrl="http://h/a.html" SpecialPostInstructions="Power cycle"/>
            <Revision Version="1.1" ReleaseDate="9 Sep 2025" ImageUrl="http://h/b.bin"/>
          </Revisions>
          <Ports>
            <Port Name="Calvio Hall" Count="2"/>
            <Port Name="Hall USB"/>
          </Ports>
        </Product>)";
}

TEST (TargetsFileParser, ConfigWithoutChildrenGivesEmptyCatalogue)
{
    const auto catalogue = parse ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Config/>");

    ASSERT_NE (catalogue, nullptr);
    EXPECT_TRUE (catalogue->products.isEmpty());
}

TEST (TargetsFileParser, ReadsEveryFieldOfProductRevisionsAndPorts)
{
    const auto catalogue = parse (inProduct (fullProduct));
    const auto& product = onlyProduct (*catalogue);

    expectProduct (product, "Hall Reverb", 0x02, 0x42, 0x05, TargetBrand::Calvio, "Hold BYPASS while powering on");

    ASSERT_EQ (product.revisions.size(), 2);
    expectRevision (*product.revisions[0], "1.05", "3 Mar 2025", "http://h/a.bin", "http://h/a.html", "Power cycle");
    expectRevision (*product.revisions[1], "1.1", "9 Sep 2025", "http://h/b.bin", "", "");

    ASSERT_EQ (product.ports.size(), 2);
    expectPort (*product.ports[0], "Calvio Hall", 2);
    expectPort (*product.ports[1], "Hall USB", 1);
}

TEST (TargetsFileParser, MissingAttributesTakeTheirDefaults)
{
    const auto catalogue = parse ("<Config><Brand><Family><Product><Revisions><Revision/></Revisions>"
                                  "<Ports><Port/></Ports></Product></Family></Brand></Config>");
    const auto& product = onlyProduct (*catalogue);

    expectProduct (product, "Unspecified", 0x7F, 0x7F, 0x7F, TargetBrand::Other, "");
    expectRevision (*product.revisions.getFirst(), "Unspecified", "Unspecified", "", "", "");
    expectPort (*product.ports.getFirst(), "", 1);
}

TEST (TargetsFileParser, ProductWithoutRevisionsOrPortsHasEmptyLists)
{
    const auto catalogue = parse (inProduct ("<Product Name=\"Bare\"/>"));
    const auto& product = onlyProduct (*catalogue);

    EXPECT_TRUE (product.revisions.isEmpty());
    EXPECT_TRUE (product.ports.isEmpty());
}

TEST (TargetsFileParser, KeepsDocumentOrderAcrossBrandsFamiliesAndProducts)
{
    const auto catalogue = parse (R"(<Config>
        <Brand Name="Calvio">
          <Family FamilyID="1"><Product Name="A"/><Product Name="B"/></Family>
          <Family FamilyID="2"><Product Name="C"/></Family>
        </Brand>
        <Brand Name="Brisma"><Family FamilyID="3"><Product Name="D"/></Family></Brand>
        <Brand Name="Other"><Family FamilyID="4"><Product Name="E"/></Family></Brand>
      </Config>)");

    ASSERT_EQ (catalogue->products.size(), 5);
    const char* names[] = { "A", "B", "C", "D", "E" };
    const std::int32_t families[] = { 1, 1, 2, 3, 4 };
    const TargetBrand brands[] = { TargetBrand::Calvio, TargetBrand::Calvio, TargetBrand::Calvio,
                                   TargetBrand::Brisma, TargetBrand::Other };

    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ (catalogue->products[i]->name, names[i]);
        EXPECT_EQ (catalogue->products[i]->familyId, families[i]);
        EXPECT_EQ (catalogue->products[i]->brand, brands[i]);
    }
}

TEST (TargetsFileParser, BrandNamesMustMatchExactly)
{
    for (const auto* name : { "calvio", "CALVIO", "Calvio ", "brisma", "" })
    {
        const auto catalogue = parse ("<Config><Brand Name=\"" + juce::String (name)
                                      + "\"><Family><Product/></Family></Brand></Config>");
        EXPECT_EQ (onlyProduct (*catalogue).brand, TargetBrand::Other) << name;
    }
}

TEST (TargetsFileParser, HexIdsTakeEveryHexDigitAndSkipTheRest)
{
    EXPECT_EQ (productIdFor ("0x7F"), 0x7F);
    EXPECT_EQ (productIdFor ("7F"), 0x7F);
    EXPECT_EQ (productIdFor ("7f"), 0x7F);
    EXPECT_EQ (productIdFor ("x7F"), 0x7F);
    EXPECT_EQ (productIdFor ("127"), 0x127);
    EXPECT_EQ (productIdFor (""), 0);
    EXPECT_EQ (productIdFor ("g1-z2 h"), 0x12);
    EXPECT_EQ (productIdFor ("0x1FF"), 0x1FF);
}

TEST (TargetsFileParser, HexIdsKeepTheLastEightDigits)
{
    EXPECT_EQ (productIdFor ("123456789"), 0x23456789);
    EXPECT_EQ (productIdFor ("0xFFFFFFFF"), -1);
    EXPECT_EQ (productIdFor ("0xABCDEF0123"), static_cast<std::int32_t> (0xCDEF0123u));
}

TEST (TargetsFileParser, FamilyIdKeepsOnlyItsLowByte)
{
    const auto catalogue = parse ("<Config><Brand><Family FamilyID=\"0x1FF\"><Product ProductID=\"0x1FF\"/>"
                                  "</Family><Family FamilyID=\"\"><Product/></Family></Brand></Config>");

    EXPECT_EQ (catalogue->products[0]->familyId, 0xFF);
    EXPECT_EQ (catalogue->products[0]->productId, 0x1FF);
    EXPECT_EQ (catalogue->products[1]->familyId, 0);
}

TEST (TargetsFileParser, EmptyUpdateProductIdBehavesAsAbsent)
{
    const auto catalogue = parse (inProduct ("<Product ProductID=\"0x21\" UpdateProductID=\"\"/>"
                                             "<Product ProductID=\"0x22\"/>"
                                             "<Product ProductID=\"0x23\" UpdateProductID=\"0x63\"/>"
                                             "<Product UpdateProductID=\"0x64\"/>"));

    EXPECT_EQ (catalogue->products[0]->updateProductId, 0x21);
    EXPECT_EQ (catalogue->products[1]->updateProductId, 0x22);
    EXPECT_EQ (catalogue->products[2]->updateProductId, 0x63);
    EXPECT_EQ (catalogue->products[3]->productId, 0x7F);
    EXPECT_EQ (catalogue->products[3]->updateProductId, 0x64);
}

TEST (TargetsFileParser, AttributeNamesMatchInAnyCase)
{
    const auto catalogue = parse (R"(<Config><Brand NAME="Brisma"><Family familyid="0x10">
        <Product name="Chorus" productID="3" UPDATEPRODUCTID="0x7A" specialpreinstructions="Read me">
          <Revisions><Revision VERSION="2.3" releasedate="1 May 2026" imageurl="i" RELEASENOTESURL="n"
                               specialPostInstructions="done"/></Revisions>
          <Ports><Port NAME="Brisma Chorus" COUNT="4"/></Ports>
        </Product></Family></Brand></Config>)");
    const auto& product = onlyProduct (*catalogue);

    expectProduct (product, "Chorus", 3, 0x7A, 0x10, TargetBrand::Brisma, "Read me");
    expectRevision (*product.revisions.getFirst(), "2.3", "1 May 2026", "i", "n", "done");
    expectPort (*product.ports.getFirst(), "Brisma Chorus", 4);
}

TEST (TargetsFileParser, RevisionsAndPortsAreFoundInAnyCaseAndTheFirstOneWins)
{
    const auto catalogue = parse (inProduct (R"(<Product>
        <Notes>ignored</Notes>
        stray words under a product are ignored
        <PORTS><Port Name="first"/></PORTS>
        <revisions><Revision Version="1"/></revisions>
        <Revisions><Revision Version="2"/><Revision Version="3"/></Revisions>
        <Ports><Port Name="second"/></Ports>
      </Product>)"));
    const auto& product = onlyProduct (*catalogue);

    ASSERT_EQ (product.revisions.size(), 1);
    EXPECT_EQ (product.revisions.getFirst()->version, "1");
    ASSERT_EQ (product.ports.size(), 1);
    EXPECT_EQ (product.ports.getFirst()->name, "first");
}

TEST (TargetsFileParser, CountIsReadAsALeadingDecimalNumber)
{
    EXPECT_EQ (countFor ("3"), 3);
    EXPECT_EQ (countFor ("abc"), 0);
    EXPECT_EQ (countFor (""), 0);
    EXPECT_EQ (countFor ("  +7 ports"), 7);
    EXPECT_EQ (countFor (" -2"), -2);
    EXPECT_EQ (countFor ("12x3"), 12);
    EXPECT_EQ (countFor ("99999999999"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ (countFor ("-99999999999"), std::numeric_limits<std::int32_t>::min());
}

TEST (TargetsFileParser, CommentsAndWhitespaceBetweenElementsAreNotChildren)
{
    const auto catalogue = parse (R"(<Config>
        <!-- Calvio -->
        <Brand Name="Calvio">  <!-- a family -->
          <Family>
            <Product> <Revisions> <!-- none yet --> </Revisions> <Ports>
              <!-- p --> <Port Name="x"/> </Ports> </Product>
          </Family>
        </Brand>
      </Config>)");

    EXPECT_EQ (onlyProduct (*catalogue).ports.size(), 1);
}

TEST (TargetsFileParser, NotWellFormedXmlGivesTheXmlParsersDescription)
{
    for (const auto* text : { "", "   ", "not xml at all", "<Config><Brand></Config>", "<Config><!-- open" })
    {
        juce::XmlDocument reference (text);
        EXPECT_EQ (reference.getDocumentElement(), nullptr) << text;
        EXPECT_EQ (parseError (text), reference.getLastParseError()) << text;
    }

    EXPECT_EQ (parseError (""), "not enough input");
    EXPECT_EQ (parseError ("<Config><Brand></Config>"), "unmatched tags");
}

TEST (TargetsFileParser, ElementsOutOfPlaceNameTheExpectedElementWithoutQuotes)
{
    EXPECT_EQ (parseError ("<config/>"), "Invalid element encountered. Expecting Config");
    EXPECT_EQ (parseError ("<html><body/></html>"), "Invalid element encountered. Expecting Config");
    EXPECT_EQ (parseError ("<Config><brand/></Config>"), "Invalid element encountered. Expecting Brand");
    EXPECT_EQ (parseError ("<Config><Brand><Product/></Brand></Config>"), "Invalid element encountered. Expecting Family");
    EXPECT_EQ (parseError ("<Config><Brand><Family><product/></Family></Brand></Config>"),
               "Invalid element encountered. Expecting Product");
    EXPECT_EQ (parseError (inProduct ("<Product><Ports><port/></Ports></Product>")),
               "Invalid element encountered. Expecting Port");
}

TEST (TargetsFileParser, AnythingButRevisionUnderRevisionsNamesRevisionInQuotes)
{
    const juce::String expected ("Invalid element encountered. Expecting \"Revision\"");

    EXPECT_EQ (parseError (inProduct ("<Product><revisions><revision/></revisions></Product>")), expected);
    EXPECT_EQ (parseError (inProduct ("<Product><Revisions><Revision/><Port/></Revisions></Product>")), expected);
    EXPECT_EQ (parseError (inProduct ("<Product><Revisions>1.0</Revisions></Product>")), expected);
}

TEST (TargetsFileParser, StrayTextBetweenElementsIsAChildThatFailsTheExpectStep)
{
    EXPECT_EQ (parseError ("<Config> oops <Brand/></Config>"), "Invalid element encountered. Expecting Brand");
    EXPECT_EQ (parseError ("<Config><Brand><![CDATA[x]]></Brand></Config>"), "Invalid element encountered. Expecting Family");
    EXPECT_EQ (parseError (inProduct ("<Product><Ports>&amp;</Ports></Product>")), "Invalid element encountered. Expecting Port");
}
