// SPDX-License-Identifier: GPL-3.0-or-later
// The permission tree: what a click ticks and the string it writes.
#include "shell/users/permissiontree.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

TEST(PermissionTree, HoldsTheMenuCodesOnlyWithCaptionsWithoutAmpersands)
{
    PermissionTree tree;
    EXPECT_TRUE(tree.contains(u"N1"_s));
    EXPECT_TRUE(tree.contains(u"N2A"_s));
    EXPECT_FALSE(tree.contains(u"N14sep"_s));
    EXPECT_FALSE(tree.contains(u"mnuwindow"_s));
    EXPECT_FALSE(tree.contains(u"MnuExit"_s));
    EXPECT_EQ(tree.nodes().front().text, u"Masters"_s);
    EXPECT_EQ(tree.nodes()[1].parent, u"N1"_s);
}

TEST(PermissionTree, ATopMenuTicksItsItemsAndFollowsThem)
{
    PermissionTree tree;
    tree.setChecked(u"N1"_s, true);
    EXPECT_TRUE(tree.isChecked(u"N11"_s));
    EXPECT_TRUE(tree.isChecked(u"N15"_s));
    EXPECT_FALSE(tree.isChecked(u"N2"_s));
    EXPECT_FALSE(tree.isChecked(u"N21"_s));

    tree.setChecked(u"N1"_s, false);
    tree.setChecked(u"N12"_s, true);
    tree.setChecked(u"N13"_s, true);
    EXPECT_TRUE(tree.isChecked(u"N1"_s));
    tree.setChecked(u"N12"_s, false);
    EXPECT_TRUE(tree.isChecked(u"N1"_s)); // N13 is still granted
    tree.setChecked(u"N13"_s, false);
    EXPECT_FALSE(tree.isChecked(u"N1"_s));
}

TEST(PermissionTree, TheStringListsTickedCodesInMenuOrderEachFollowedByAStar)
{
    PermissionTree tree;
    EXPECT_EQ(tree.permissionString(), QString());
    tree.setChecked(u"N42"_s, true);
    tree.setChecked(u"N12"_s, true);
    EXPECT_EQ(tree.permissionString(), u"N1*N12*N4*N42*"_s);

    PermissionTree loaded;
    loaded.load(u"N1*N12*N4*N42*"_s);
    EXPECT_EQ(loaded.permissionString(), u"N1*N12*N4*N42*"_s);
}
