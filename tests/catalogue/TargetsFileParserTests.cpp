#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "catalogue/ExpectedImage.h"
#include "catalogue/TargetsFileParser.h"
#include "catalogue/TargetsFileReader.h"
#include "catalogue/TargetsInfoDownloadThread.h"
#include "catalogue/XmlParseException.h"

namespace
{
    std::unique_ptr<TargetsInfo> parse (const juce::String& text)
    {
        return parseTargetsFile (text);
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

namespace
{
    struct TextAndMessage
    {
        juce::String text;
        juce::String message;   // empty: the text is a valid targets file
    };

    void expectOutcomes (const std::vector<TextAndMessage>& cases)
    {
        for (const auto& [text, message] : cases)
        {
            if (message.isEmpty())
                EXPECT_NE (parse (text), nullptr) << text.substring (0, 200);
            else
                EXPECT_EQ (parseError (text), message) << text.substring (0, 200);
        }
    }

    juce::String nestedElements (int depth)
    {
        return juce::String::repeatedString ("<a>", depth) + juce::String::repeatedString ("</a>", depth);
    }
}

// What the XML parser finds wrong, and where (the column counts from 1), or the
// reader's own text where the expat's would say nothing useful.
TEST (TargetsFileParser, TextThatIsNotWellFormedXmlIsDescribedWithItsPosition)
{
    expectOutcomes ({
        { "", "The file is empty" },
        { " \r\n\t ", "The file is empty" },
        { "not xml at all", "Syntax error at line 1, column 1" },
        { "<Config><Brand></Config>", "Mismatched tag at line 1, column 18" },
        { "<Config>\n  <!-- open", "Unclosed token at line 2, column 3" },
        { "<Config/>\n<Config/>", "Junk after document element at line 2, column 1" },
        { "<Config><Brand Name=Calvio/></Config>", "Not well-formed (invalid token) at line 1, column 21" },
    });
}

// Each of these crashed, hung or read outside memory in the earlier XML reader, or
// would make a parser expand entities; under AddressSanitizer a stray read fails here.
TEST (TargetsFileParser, HostileTextsFailWithAMessageAndNothingElse)
{
    expectOutcomes ({
        { nestedElements (30000), "Elements are nested too deeply (more than 256 levels) at line 1, column 769" },
        { nestedElements (TargetsFileReader::maxDepth), "Invalid element encountered. Expecting Config" },
        { "<i>&<C>&#X;", "Not well-formed (invalid token) at line 1, column 5" },
        { "<Config>&#x41", "Unclosed token at line 1, column 9" },
        { "<Config>&#x41;</Config>", "Invalid element encountered. Expecting Brand" },
        { "<Config><Brand Name=\"&nbsp;\"/></Config>", "Undefined entity at line 1, column 9" },
        { "<!DOCTYPE C [<!ENTITY a \"b&a;\">]><C>&a;</C>", "Document type declarations are not allowed at line 1, column 13" },
        { "<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [<!ENTITY lol \"lol\"><!ENTITY lol2 \"&lol;&lol;&lol;&lol;\">]>"
          "<Config><Brand Name=\"&lol2;\"/></Config>",
          "Document type declarations are not allowed at line 2, column 16" },
        { "<Config><?a?>b</Config>", "Invalid element encountered. Expecting Brand" },
        { "<Config><?a", "Unclosed token at line 1, column 9" },
        { "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><!-- c --><?pi x?><Config/><!-- c -->", {} },
        { juce::String::fromUTF8 ("<Config><Brand Name=\"R\xc3\xa9verb\"/>\xe2\x82\xac</Config>"),
          "Invalid element encountered. Expecting Brand" },
    });
}

// The error reported is the one a walk of the whole, well-formed document meets first:
// in document order, but a product's Revisions before its Ports.
TEST (TargetsFileParser, TheFirstErrorOfAWalkOverTheWholeDocumentIsReported)
{
    const juce::String revision ("Invalid element encountered. Expecting \"Revision\"");
    const juce::String port ("Invalid element encountered. Expecting Port");

    expectOutcomes ({
        { "<Config><brand/><Brand></Config>", "Mismatched tag at line 1, column 26" },
        { "<Config><brand/></Config><x/>", "Junk after document element at line 1, column 26" },
        { "<config><Brand/></config>", "Invalid element encountered. Expecting Config" },
        { inProduct ("<Product><Ports><x/></Ports><Revisions><x/></Revisions></Product>"), revision },
        { inProduct ("<Product><Ports>text</Ports><Revisions><Revision/></Revisions></Product>"), port },
        { inProduct ("<Product><Ports><x/></Ports></Product><product/>"), port },
        { inProduct ("<Product><Revisions><x/></Revisions></Product><product/>"), revision },
        { inProduct ("<Product><Ports/><Ports><x/></Ports><revisions/><Revisions>x</Revisions></Product>"), {} },
        { inProduct ("<Product><Notes><Brand/>x</Notes>words<![CDATA[x]]><Revisions><Revision><y/>z</Revision>"
                     "</Revisions><Ports><Port><y/></Port></Ports></Product>"),
          {} },
        { "<Config>&#32;&#9;&#10;<Brand/>\n</Config>", {} },
        { "<Config><Brand><![CDATA[]]></Brand></Config>", "Invalid element encountered. Expecting Family" },
        { "<Config><Brand><Family><Product/>&amp;</Family></Brand><brand/></Config>",
          "Invalid element encountered. Expecting Product" },
    });
}

TEST (TargetsFileParser, AStopTestIsAskedBeforeEveryChunkAndEndsTheParseWhenItAnswersTrue)
{
    const auto text = "<Config>" + juce::String::repeatedString ("<Brand Name=\"Calvio\"/>", 20000) + "</Config>";
    const auto numChunks = (int) (text.getNumBytesAsUTF8() / TargetsFileReader::chunkSize);
    ASSERT_GE (numChunks, 4);

    for (const int stopAt : { 1, 2, numChunks })
    {
        int calls = 0;
        EXPECT_EQ (parseTargetsFile (text, [&] { return ++calls == stopAt; }), nullptr);
        EXPECT_EQ (calls, stopAt);
    }

    int calls = 0;
    EXPECT_NE (parseTargetsFile (text, [&] { return ++calls < 0; }), nullptr);
    EXPECT_GT (calls, numChunks);
}

// Expat keeps every distinct element and attribute name it meets: a text of many tiny
// names must not make it hold more than its limit.
TEST (TargetsFileParser, TheParsersMemoryIsHeldToItsLimit)
{
    juce::MemoryOutputStream attributes;

    for (int i = 0; i < 100000; ++i)
        attributes << " a" << i << "=''";

    const auto text = "<Config" + attributes.toString() + "/>";

    EXPECT_NE (TargetsFileReader().read (text, {}), nullptr);

    try
    {
        TargetsFileReader (1 << 20).read (text, {});
        ADD_FAILURE() << "the text was read within 1 MiB";
    }
    catch (const XmlParseException& e)
    {
        EXPECT_TRUE (juce::String (e.what()).startsWith ("The file is too large or too complex to be read at line 1"))
            << e.what();
    }
}

namespace
{
    const juce::String digestOfAbc ("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");

    juce::String revisionWith (const juce::String& attributes)
    {
        return inProduct ("<Product><Revisions><Revision Version=\"1.5\" " + attributes + "/></Revisions></Product>");
    }

    const TargetRevision& onlyRevision (const TargetsInfo& catalogue)
    {
        return *onlyProduct (catalogue).revisions.getFirst();
    }
}

// What the catalogue says about an image is kept as a number and a digest in one
// letter case, whatever case the file used; absent stays absent.
TEST (TargetsFileParser, ImageSizeAndDigestAreReadWhenGiven)
{
    struct Case
    {
        juce::String attributes;
        std::optional<juce::int64> size;
        juce::String sha256;
    };

    for (const auto& [attributes, size, sha256] : std::vector<Case> {
             { "", std::nullopt, "" },
             { "Size=\"8704\" Sha256=\"" + digestOfAbc + "\"", 8704, digestOfAbc },
             { "size=\"0\" SHA256=\"" + digestOfAbc.toUpperCase() + "\"", 0, digestOfAbc },
             { "Size=\"0009223372036854775807\"", std::numeric_limits<juce::int64>::max(), "" },
         })
    {
        const auto catalogue = parse (revisionWith (attributes));
        EXPECT_EQ (onlyRevision (*catalogue).imageSize, size) << attributes;
        EXPECT_EQ (onlyRevision (*catalogue).imageSha256, sha256) << attributes;
    }
}

// A size or digest that cannot be read would make any image pass or every image fail:
// the whole catalogue is refused instead, naming the attribute, in document order.
TEST (TargetsFileParser, MalformedImageSizeOrDigestMakesTheCatalogueInvalid)
{
    const juce::String size ("Invalid attribute encountered. Expecting Size to be a decimal number of bytes");
    const juce::String sha256 ("Invalid attribute encountered. Expecting Sha256 to be 64 hexadecimal digits");

    expectOutcomes ({
        { revisionWith ("Size=\"\""), size },
        { revisionWith ("Size=\"+12\""), size },
        { revisionWith ("Size=\"-1\""), size },
        { revisionWith ("Size=\" 12\""), size },
        { revisionWith ("Size=\"12 \""), size },
        { revisionWith ("Size=\"1e3\""), size },
        { revisionWith ("Size=\"0x20\""), size },
        { revisionWith ("Size=\"9223372036854775808\""), size },
        { revisionWith ("Sha256=\"\""), sha256 },
        { revisionWith ("Sha256=\"" + digestOfAbc.dropLastCharacters (1) + "\""), sha256 },
        { revisionWith ("Sha256=\"" + digestOfAbc + "0\""), sha256 },
        { revisionWith ("Sha256=\"" + digestOfAbc.replaceSection (10, 1, "g") + "\""), sha256 },
        { revisionWith ("Sha256=\" " + digestOfAbc.substring (1) + "\""), sha256 },
        { revisionWith ("Sha256=\"x\" Size=\"x\""), size },
        { inProduct ("<Product><Ports><x/></Ports><Revisions><Revision Sha256=\"x\"/></Revisions></Product>"), sha256 },
        { inProduct ("<Product><Revisions><Revision Size=\"x\"/><x/></Revisions></Product>"), size },
    });
}

namespace
{
    enum class Encoding { utf8, utf16LittleEndian, utf16BigEndian };

    // The text's bytes as an editor saves them, with or without the byte-order mark.
    juce::MemoryBlock encode (const juce::String& text, Encoding encoding, bool withMark)
    {
        juce::MemoryBlock bytes;

        if (encoding == Encoding::utf8)
        {
            if (withMark)
                bytes.append ("\xef\xbb\xbf", 3);

            bytes.append (text.toRawUTF8(), text.getNumBytesAsUTF8());
            return bytes;
        }

        const bool little = encoding == Encoding::utf16LittleEndian;
        const auto appendUnit = [&] (juce::uint16 unit)
        {
            const char pair[2] = { (char) (little ? unit & 0xff : unit >> 8), (char) (little ? unit >> 8 : unit & 0xff) };
            bytes.append (pair, 2);
        };

        if (withMark)
            appendUnit (0xfeff);

        for (const auto* unit = text.toUTF16().getAddress(); *unit != 0; ++unit)
            appendUnit ((juce::uint16) *unit);

        return bytes;
    }
}

TEST (TargetsFileParser, ACatalogueIsReadAlikeInUtf8AndInUtf16OfEitherByteOrderWithOrWithoutMark)
{
    // Notepad's "Unicode" is UTF-16 with a mark; other editors leave the mark out.
    const auto name = juce::String::fromUTF8 ("R\xc3\xa9verb \xf0\x9d\x84\x9e");
    const auto catalogueIn = [&] (Encoding encoding)
    {
        return "<?xml version=\"1.0\" encoding=\"" + juce::String (encoding == Encoding::utf8 ? "UTF-8" : "UTF-16")
             + "\"?>\r\n" + inProduct ("<Product Name=\"" + name + "\"/>");
    };

    struct Case { const char* name; Encoding encoding; bool withMark; };

    const Case cases[] = {
        { "UTF-8",                        Encoding::utf8,              false },
        { "UTF-8 with mark",              Encoding::utf8,              true },
        { "UTF-16LE with mark",           Encoding::utf16LittleEndian, true },
        { "UTF-16BE with mark",           Encoding::utf16BigEndian,    true },
        { "UTF-16LE without mark",        Encoding::utf16LittleEndian, false },
        { "UTF-16BE without mark",        Encoding::utf16BigEndian,    false },
    };

    for (const auto& c : cases)
    {
        const auto text = TargetsInfoDownloadThread::catalogueTextOf (encode (catalogueIn (c.encoding), c.encoding, c.withMark));
        ASSERT_TRUE (text.has_value()) << c.name;

        try
        {
            EXPECT_EQ (onlyProduct (*parse (*text)).name, name) << c.name;
        }
        catch (const XmlParseException& e)
        {
            ADD_FAILURE() << c.name << ": " << e.what();
        }
    }
}

TEST (TargetsFileParser, Utf16EndsAtAZeroCharacterAndLeavesNoLoneSurrogateOrOddByteInTheText)
{
    const auto text = [] (std::initializer_list<juce::uint8> bytes)
    {
        const juce::MemoryBlock block (std::data (bytes), bytes.size());
        return TargetsInfoDownloadThread::catalogueTextOf (block).value_or ("(nothing)");
    };

    EXPECT_EQ (text ({ 0xff, 0xfe, '<', 0, 'a', 0, 0, 0, 'b', 0 }), juce::String ("<a"));
    EXPECT_EQ (text ({ '<', 0, 0x00, 0xd8, 'a', 0 }), juce::String ("<") + juce::String::charToString (0xfffd) + "a");
    EXPECT_EQ (text ({ 0, '<', 0xdc, 0x00 }), juce::String ("<") + juce::String::charToString (0xfffd));
    EXPECT_EQ (text ({ '<', 0, 'a', 0, 'b' }), juce::String ("<a"));
}

TEST (ExpectedImage, DigestIsTheStandardSha256InLowerCaseHex)
{
    EXPECT_EQ (ExpectedImage::sha256Of (juce::MemoryBlock ("abc", 3)), digestOfAbc);
    EXPECT_EQ (ExpectedImage::sha256Of ({}), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
}
