// The reduction ordering of the equality modification: the properties its
// constraints rely on (irreflexive, the subterm property, the variable
// condition that keeps it stable under instantiation, the precedence and
// the lexicographic step), read through bindings.
#include "prover/equality/order.hpp"

#include "tests/prover/prover_fixture.hpp"

namespace velkor::testing {
namespace {

class EqualityOrderTest : public ProverTest {
 protected:
  void SetUp() override {
    load(
        "input_clause(c1,axiom,[++p(X,Y,a,b,inv(X),inv(inv(X)),mult(X,Y),mult(Y,X),"
        "mult(mult(X,Y),Z),mult(X,mult(Y,Z)),mult(X,X),inv(Y),mult(a,e),inv(inv(a)))]).");
    Term** t = literal(1, 0)->args;
    x = t[0], y = t[1], a = t[2], b = t[3], inv_x = t[4], inv_inv_x = t[5];
    mult_xy = t[6], mult_yx = t[7], left_assoc = t[8], right_assoc = t[9];
    mult_xx = t[10], inv_y = t[11], mult_ae = t[12], inv_inv_a = t[13];
  }
  Term *x, *y, *a, *b, *inv_x, *inv_inv_x, *mult_xy, *mult_yx, *left_assoc, *right_assoc;
  Term *mult_xx, *inv_y, *mult_ae, *inv_inv_a;
};

TEST_F(EqualityOrderTest, SubtermsVariableConditionPrecedenceAndLexicographicStep) {
  for (Term* t : {x, a, inv_x, mult_xy, left_assoc}) EXPECT_FALSE(equality::greater(t, t));
  EXPECT_TRUE(equality::greater(inv_inv_x, inv_x));
  EXPECT_FALSE(equality::greater(inv_x, inv_inv_x));
  EXPECT_TRUE(equality::greater(mult_ae, a));
  // A variable is greater than nothing, and below a term only if it occurs in it.
  EXPECT_FALSE(equality::greater(x, a));
  EXPECT_FALSE(equality::greater(inv_x, y));
  // Either side of these can be the greater one in an instance.
  EXPECT_FALSE(equality::greater(mult_xy, mult_yx));
  EXPECT_FALSE(equality::greater(mult_xx, mult_xy));
  EXPECT_FALSE(equality::greater(mult_xy, mult_xx));
  EXPECT_FALSE(equality::greater(inv_inv_x, mult_xy));  // heavier, but lacks Y
  EXPECT_TRUE(equality::greater(left_assoc, right_assoc));
  EXPECT_FALSE(equality::greater(right_assoc, left_assoc));
  EXPECT_TRUE(equality::greater(mult_ae, inv_inv_a));  // equal weight: binary above unary
  EXPECT_TRUE(equality::greater(b, a));                // the constant met later is greater
  EXPECT_FALSE(equality::greater(a, b));
}

TEST_F(EqualityOrderTest, ReadsThroughBindingsAndRefusesOnlyForGood) {
  p->push_mark();
  p->bind(y, inv_x);  // mult(X,Y) is now mult(X,inv(X)), inv(Y) is inv(inv(X))
  EXPECT_TRUE(equality::greater(mult_xy, inv_x));
  EXPECT_TRUE(equality::greater(mult_xy, inv_y));  // weight 4 against 3
  // s > t can hold while neither is greater yet, not once t > s or s = t.
  EXPECT_TRUE(equality::may_hold(x, a, true));
  EXPECT_FALSE(equality::may_hold(inv_x, inv_inv_x, false));
  EXPECT_FALSE(equality::may_hold(inv_y, inv_inv_x, true));
  EXPECT_TRUE(equality::may_hold(inv_y, inv_inv_x, false));
  EXPECT_TRUE(equality::greater(inv_y, inv_x));
  // Both directions at once, as the search reads constraints.
  EXPECT_EQ(equality::compare(inv_y, inv_inv_x), equality::Order::kEqual);
  EXPECT_EQ(equality::compare(inv_x, mult_xy), equality::Order::kLess);
  EXPECT_EQ(equality::compare(mult_xy, mult_yx), equality::Order::kLess);  // X < inv(X)
  p->unbind_vars();
  EXPECT_EQ(equality::compare(mult_xy, mult_yx), equality::Order::kIncomparable);
  EXPECT_FALSE(equality::greater(inv_y, inv_x));
}

}  // namespace
}  // namespace velkor::testing
