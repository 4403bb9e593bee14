#include "ComputerPlan.h"

void ThinkEasy(zolPlan& plan)
{
    ThinkNormal(plan);
}

void ThinkHard(zolPlan& plan)
{
    ThinkNormal(plan);
}
