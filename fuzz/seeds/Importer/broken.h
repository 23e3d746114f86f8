class A { int x } 
void f(int a = g(1, 2), ...) { s = "open