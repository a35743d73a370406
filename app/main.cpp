// Подбор Zelton: sizing of a regulating valve for a heat substation.
#include "app/application.h"
#include "app/mainform.h"

int main(int argc, char **argv)
{
    return RunApplication(argc, argv, CreateMainForm);
}
