#include <gtest/gtest.h>

#include "catalogue/TargetsFileParser.h"

namespace
{
    std::unique_ptr<TargetsInfo> sampleCatalogue()
    {
        return parseTargetsFile (R"(<Config><Brand Name="Brisma"><Family FamilyID="0x5C">
            <Product Name="Pitch Four" ProductID="4" UpdateProductID="0x44" SpecialPreInstructions="pre">
              <Revisions>
                <Revision Version="2.0" ReleaseDate="d1" ImageUrl="u1" ReleaseNotesUrl="n1" SpecialPostInstructions="post"/>
                <Revision Version="2.1" ReleaseDate="d2" ImageUrl="u2"/>
              </Revisions>
              <Ports><Port Name="Pitch Four" Count="2"/></Ports>
            </Product></Family></Brand></Config>)");
    }

    [[nodiscard]] ::testing::AssertionResult expectSameContent (const TargetProduct& a, const TargetProduct& b)
    {
        EXPECT_EQ (a.name, b.name);
        EXPECT_EQ (a.productId, b.productId);
        EXPECT_EQ (a.updateProductId, b.updateProductId);
        EXPECT_EQ (a.familyId, b.familyId);
        EXPECT_EQ (a.brand, b.brand);
        EXPECT_EQ (a.specialPreInstructions, b.specialPreInstructions);

        if (a.revisions.size() != b.revisions.size() || a.ports.size() != b.ports.size())
            return ::testing::AssertionFailure() << a.revisions.size() << " and " << b.revisions.size() << " revisions, "
                                                 << a.ports.size() << " and " << b.ports.size() << " ports";

        for (int i = 0; i < a.revisions.size(); ++i)
        {
            EXPECT_EQ (a.revisions[i]->version, b.revisions[i]->version);
            EXPECT_EQ (a.revisions[i]->releaseDate, b.revisions[i]->releaseDate);
            EXPECT_EQ (a.revisions[i]->imageUrl, b.revisions[i]->imageUrl);
            EXPECT_EQ (a.revisions[i]->releaseNotesUrl, b.revisions[i]->releaseNotesUrl);
            EXPECT_EQ (a.revisions[i]->specialPostInstructions, b.revisions[i]->specialPostInstructions);
        }

        for (int i = 0; i < a.ports.size(); ++i)
        {
            EXPECT_EQ (a.ports[i]->name, b.ports[i]->name);
            EXPECT_EQ (a.ports[i]->count, b.ports[i]->count);
        }

        return ::testing::AssertionSuccess();
    }
}

TEST (TargetProductCopy, OwnsNewRevisionsAndPortsThatOutliveTheCatalogue)
{
    auto catalogue = sampleCatalogue();
    const auto& original = *catalogue->products.getFirst();
    const TargetProduct copy (original);

    ASSERT_TRUE (expectSameContent (copy, original));
    EXPECT_NE (copy.revisions.getFirst(), original.revisions.getFirst());
    EXPECT_NE (copy.ports.getFirst(), original.ports.getFirst());

    catalogue.reset();
    ASSERT_EQ (copy.revisions.size(), 2);
    EXPECT_EQ (copy.revisions[1]->imageUrl, "u2");
    EXPECT_EQ (copy.ports.getFirst()->count, 2);
}

TEST (TargetProductCopy, AssignmentReplacesTheListsAndLeavesTheSourceAlone)
{
    const auto catalogue = sampleCatalogue();
    const auto& original = *catalogue->products.getFirst();

    TargetProduct target;
    target.name = "old";
    target.revisions.add (std::make_unique<TargetRevision>());
    target.ports.add (std::make_unique<TargetPort>());
    target.ports.add (std::make_unique<TargetPort>());

    target = original;
    ASSERT_TRUE (expectSameContent (target, original));

    target.revisions.getFirst()->version = "9.9";
    target.ports.clear();
    EXPECT_EQ (original.revisions.getFirst()->version, "2.0");
    EXPECT_EQ (original.ports.size(), 1);

    auto& self = target;
    target = self;
    EXPECT_EQ (target.revisions.getFirst()->version, "9.9");
}
