class A; class A : public B { };
namespace N;
enum E { a, b };
class C { public: class D { int x, y; }; long double d; unsigned char c[10]; A::B e; };
