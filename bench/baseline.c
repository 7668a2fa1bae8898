/* The yardstick for bench/run: the same program written plainly in C, with no
 * checks, linked dynamically. */
#include <math.h>
#include <stdio.h>

int main(void)
{
    float a, b, c, delta, x1, x2;
    printf("Digite o Valor de A \n");
    scanf("%f", &a);
    printf("Digite o Valor de B \n");
    scanf("%f", &b);
    printf("Digite o Valor de C \n");
    scanf("%f", &c);
    delta = (float)((double)b * b - (double)(4 * a * c));
    x1 = (float)((-b + sqrt(delta)) / (2.0 * a));
    x2 = (float)((-b - sqrt(delta)) / (2.0 * a));
    printf("As raízes da equação são: %.2f e %.2f", x1, x2);
    return 0;
}
